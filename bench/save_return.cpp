// How long saving a 50-line return with 150 allocation rows takes, new and edited, as
// the ledgers grow, against bare inserts of the same rows in one transaction. Each
// return takes what the generated ledgers really hold, and every timed save must save.
//   save_return [rows per ledger ...]   (default 10000 100000) on SQLite, and on
//                                       PostgreSQL when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/db/Schema.h"
#include "common/db/ConnectionInternals.h"
#include "common/db/Transaction.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "support/LedgerGenerator.h"
#include <rtnmod08/DemoData.h>
#include "editor/PurchaseReturnSave.h"
#include "editor/TransactionRates.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

using namespace shop;

namespace {

const QDate kToday(2026, 12, 6);
constexpr int kLines = 50;

// What shop 1 holds of each generated item, place by place, as the balance statements
// count it: arrivals less issues, cancelled rows left out. Each return takes one unit
// from a location, a batch and a serial number of each of its items; the places are
// used up as the returns take them, so that every timed save has stock to take.
struct Place {
    QString key;
    QString date; // a batch's expiry date
    int left;
};
using Places = QHash<int, QList<Place>>; // by item

Places placesOf(Connection &con, const QString &statement)
{
    Places out;
    QSqlQuery q(sqlDatabase(con));
    q.setForwardOnly(true);
    if (!q.exec(statement))
        qFatal("save_return: %s", qPrintable(q.lastError().text()));
    while (q.next())
        out[q.value(0).toInt()].append({q.value(1).toString(), q.value(2).toDate().toString(QStringLiteral("dd/MM/yyyy")),
                                        static_cast<int>(q.value(3).toDouble())});
    return out;
}

QString balanceStatement(const QString &arrivals, const QString &a, const QString &issues, const QString &i,
                         const QStringList &keys, bool dated)
{
    QStringList match;
    for (const QString &k : keys)
        match << QStringLiteral("y.%1%2 = x.%3%2").arg(i, k, a);
    const QString key = QStringLiteral("x.%1%2").arg(a, keys.first());
    const QString date = dated ? QStringLiteral("x.%1ExpiryDate").arg(a) : QStringLiteral("null");
    QString groupBy = QStringLiteral("x.%1ItemId, %2").arg(a, key);
    if (dated)
        groupBy += QStringLiteral(", ") + date;
    return QStringLiteral("select x.%1ItemId, %2, %3, sum(x.%1ItemQty) - coalesce((select sum(y.%4ItemQty) from %5 y "
                          "where y.%4ShopId = 1 and y.%4ItemId = x.%1ItemId and y.%4Cancel = 0 and %6), 0) from %7 x "
                          "where x.%1ShopId = 1 and x.%1Cancel = 0 group by %8 order by 1, 2")
        .arg(a, key, date, i, issues, match.join(QStringLiteral(" and ")), arrivals, groupBy);
}

// The item's first place that has a unit left.
Place *withStock(Places &places, int item)
{
    const auto it = places.find(item);
    if (it == places.end())
        return nullptr;
    for (Place &p : *it)
        if (p.left >= 1)
            return &p;
    return nullptr;
}

// `count` returns of up to kLines lines each, every line one unit of a generated item
// from a location, a batch and a serial number that hold it.
QList<PurchaseReturnEntry> returnsFromStock(Connection &con, int count)
{
    Places locations = placesOf(con, balanceStatement(QStringLiteral("loslocationArrivalDetails"), QStringLiteral("lad"),
                                                      QStringLiteral("losLocationIssueDetails"), QStringLiteral("lid"),
                                                      {QStringLiteral("LocationId")}, false));
    Places batches = placesOf(con, balanceStatement(QStringLiteral("losExpiryArrivalDetails"), QStringLiteral("ead"),
                                                    QStringLiteral("losExpiryIssueDetails"), QStringLiteral("eid"),
                                                    {QStringLiteral("BatchNo"), QStringLiteral("ExpiryDate")}, true));
    Places serials = placesOf(con, balanceStatement(QStringLiteral("losSerialArrivalDetails"), QStringLiteral("sad"),
                                                    QStringLiteral("losSerialIssueDetails"), QStringLiteral("sid"),
                                                    {QStringLiteral("SerialNo")}, false));
    QList<PurchaseReturnEntry> out;
    for (int n = 0; n < count; ++n) {
        PurchaseReturnEntry e;
        e.mode = EntryMode::New;
        e.dateText = QStringLiteral("06/12/2026");
        e.userName = QStringLiteral("clerk");
        e.remarks = QStringLiteral("Benchmark return");
        for (int item = bench::FirstItemId; item < bench::FirstItemId + bench::GeneratedItems && e.lines.size() < kLines; ++item) {
            Place *location = withStock(locations, item);
            Place *batch = withStock(batches, item);
            Place *serial = withStock(serials, item);
            if (!location || !batch || !serial)
                continue;
            for (Place *taken : {location, batch, serial})
                --taken->left;
            const QString id = QString::number(item);
            const QString k = QString::number(e.lines.size() + 1);
            e.lines.append({k, QStringLiteral("1"), QStringLiteral("GEN"), QStringLiteral("Generated"), QStringLiteral("100.000"),
                            QStringLiteral("1"), QStringLiteral("1"), id, QStringLiteral("2.5"), QStringLiteral("PCS")});
            e.locations.addRow({k, QStringLiteral("Bay"), QStringLiteral("1"), location->key, QString(), QStringLiteral("0"), id});
            e.expiry.addRow({k, batch->key, batch->date, QStringLiteral("1"), QString(), QStringLiteral("0"), id});
            e.serials.addRow({k, id, serial->key, QStringLiteral("1"), QString(), QStringLiteral("0")});
        }
        if (e.lines.isEmpty())
            qFatal("save_return: the generated ledgers hold no stock for return %d", n + 1);
        out << e;
    }
    return out;
}

// The same rows through bare prepared inserts in one transaction.
void rawInserts(Connection &con, const PurchaseReturnEntry &e, int id)
{
    QSqlDatabase db = sqlDatabase(con);
    Transaction tx(con);
    QSqlQuery header(db);
    header.prepare(QStringLiteral("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, WhRemarks) "
                                  "values (1, ?, ?, ?, ?, ?)"));
    header.addBindValue(id);
    header.addBindValue(QStringLiteral("RAW%1").arg(id));
    header.addBindValue(kToday);
    header.addBindValue(e.userName);
    header.addBindValue(e.remarks);
    header.exec();
    QSqlQuery detail(db), location(db), expiry(db), serial(db);
    detail.prepare(QStringLiteral("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdAvailableQty, "
                                  "WdPurchaseReturnQty, wdshipmentid, wdcostprice) values (1, ?, ?, 100, 1, 1, 2.5)"));
    location.prepare(QStringLiteral("insert into losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId, lidDetailId, "
                                    "lidLocationId, lidItemId, lidItemQty, lidPakingQty, lidCancel) values (1901, 1, ?, ?, ?, ?, 1, 0, 0)"));
    expiry.prepare(QStringLiteral("insert into losExpiryIssueDetails (eidInterfaceId, eidShopId, eidTransactionId, eidDetailId, "
                                  "eidExpiryDate, eidBatchNo, eidItemId, eidItemQty, eidPackingQty, eidCancel) "
                                  "values (1901, 1, ?, ?, ?, ?, ?, 1, 0, 0)"));
    serial.prepare(QStringLiteral("insert into losSerialIssueDetails (sidInterfaceId, sidShopId, sidTransactionId, sidDetailId, "
                                  "sidSerialNo, sidItemId, sidItemQty, sidPackingQty, sidCancel) values (1901, 1, ?, ?, ?, ?, 1, 0, 0)"));
    for (int k = 0; k < e.lines.size(); ++k) {
        const int item = e.lines.at(k).at(7).toInt();
        const int row = k + 1;
        for (const QVariant &v : QVariantList{id, item})
            detail.addBindValue(v);
        detail.exec();
        for (const QVariant &v : QVariantList{id, row, e.locations.text(row, 3).toInt(), item})
            location.addBindValue(v);
        location.exec();
        for (const QVariant &v :
             QVariantList{id, row, QDate::fromString(e.expiry.text(row, 2), QStringLiteral("dd/MM/yyyy")), e.expiry.text(row, 1), item})
            expiry.addBindValue(v);
        expiry.exec();
        for (const QVariant &v : QVariantList{id, row, e.serials.text(row, 2), item})
            serial.addBindValue(v);
        serial.exec();
    }
    tx.commit();
}

// A save the benchmark times must have saved: a refusal would time a rollback.
void mustHaveSaved(const SaveOutcome &outcome)
{
    if (!outcome.saved)
        qFatal("save_return: the save was refused: %s", qPrintable(outcome.refusal));
}

void logIn(const ConnectionPtr &con)
{
    ModuleState &s = moduleState();
    s = ModuleState{};
    s.gadocon = con;
    s.gintShopID = 1;
    s.gintUserID = 1;
    s.gintCompanyID = 1;
    s.gintInterfaceID = 1901;
    s.gstrTransType = QStringLiteral("P");
    s.gdtProcessDate = kToday;
    keepTransactionRates(s, buildTransactionRates(*con, moduleSession()));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (const Backend backend : bench::benchBackends()) {
        for (const qint64 n : bench::sizesFrom(app.arguments().mid(1), {10000, 100000})) {
            bench::BenchDatabase db(backend);
            demo::populate(*db.con, kToday);
            bench::generateLedgers(*db.con, bench::LedgerSize{static_cast<int>(n), 100, 1}, kToday);
            logIn(db.con);
            schema::attach(*db.con);

            constexpr int kRuns = 7;
            const QList<PurchaseReturnEntry> entries = returnsFromStock(*db.con, kRuns);
            SaveOutcome saved;
            int run = 0;
            moduleState().gstrMode = QStringLiteral("N");
            const double created = bench::medianMs(kRuns, [&] {
                saved = PurchaseReturnSave(moduleConnection(), moduleSession()).save(entries.at(run++));
                mustHaveSaved(saved);
            });
            PurchaseReturnEntry edited = entries.last();
            edited.mode = EntryMode::Stored;
            edited.id = saved.transId;
            edited.number = saved.transNo;
            moduleState().gstrMode = QStringLiteral("E");
            const double changed = bench::medianMs(kRuns, [&] { mustHaveSaved(PurchaseReturnSave(moduleConnection(), moduleSession()).save(edited)); });
            const PurchaseReturnEntry &entry = entries.first();
            int rawId = 500000;
            const double raw = bench::medianMs(7, [&] { rawInserts(*db.con, entry, ++rawId); });
            const QString lines = QStringLiteral("%1 lines").arg(entry.lines.size());
            bench::report(out, QStringLiteral("save_new"), backend, n, created, raw, bench::peakRssMiB(), lines);
            bench::report(out, QStringLiteral("save_edited"), backend, n, changed, raw, bench::peakRssMiB(), lines);
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
