// How long saving a 50-line return with 150 allocation rows takes, new and edited, as
// the ledgers grow, against the very statements the save sent (lock, numbering,
// procedures, stock re-check, commit token, ledger rows), with the same values, on bare
// prepared queries in one transaction. Each return takes what the generated ledgers
// really hold, and every timed save must save.
//   save_return [rows per ledger ...]   (default 10000 100000) on SQLite, and on
//                                       PostgreSQL when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/db/Schema.h"
#include "common/db/ConnectionInternals.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "support/LedgerGenerator.h"
#include <rtnmod08/DemoData.h>
#include "editor/PurchaseReturnSave.h"
#include "editor/TransactionRates.h"
#include "support/BenchSupport.h"
#include "support/StatementReplay.h"

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

// Takes back, untimed, what a new return's save stored (its header with its number,
// its detail and issue rows, its commit token), so that the same statements can store
// it again; stock stays as the save left it, whose rows the replay changes alike. An
// edited return's save rewrites its own rows and leaves only its token to take back.
void takeBack(Connection &con, TransactionId id, bool isNew)
{
    QSqlQuery q(sqlDatabase(con));
    QStringList statements{QStringLiteral("delete from shop_commit_tokens where shopid = 1 and transid = ?")};
    if (isNew)
        statements << QStringLiteral("delete from losLocationIssueDetails where lidInterfaceId = 1901 and lidShopId = 1 and lidTransId = ?")
                   << QStringLiteral("delete from losExpiryIssueDetails where eidInterfaceId = 1901 and eidShopId = 1 and eidTransactionId = ?")
                   << QStringLiteral("delete from losSerialIssueDetails where sidInterfaceId = 1901 and sidShopId = 1 and sidTransactionId = ?")
                   << QStringLiteral("delete from LOsPurchaseReturnDetail where wdshopid = 1 and wdid = ?")
                   << QStringLiteral("delete from LOsPurchaseReturnHeader where whShopID = 1 and WhID = ?");
    for (const QString &statement : statements) {
        q.prepare(statement);
        q.addBindValue(id.value());
        if (!q.exec())
            qFatal("save_return: %s", qPrintable(q.lastError().text()));
    }
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

            constexpr int kRuns = 11;
            const QList<PurchaseReturnEntry> entries = returnsFromStock(*db.con, kRuns);
            bench::StatementReplay replay(*db.con);
            // Each timed save is followed by what it sent, on bare queries, on the same
            // data: the save is taken back (untimed) and its statements store it again.
            const auto timed = [&](const std::function<SaveOutcome()> &save, bool isNew) {
                std::vector<double> module, raw;
                SaveOutcome saved;
                int statements = 0;
                for (int run = 0; run < kRuns; ++run) {
                    replay.record();
                    module.push_back(bench::elapsedMs([&] { saved = save(); }));
                    const QList<SentStatement> steps = replay.stop();
                    mustHaveSaved(saved);
                    takeBack(*db.con, saved.transId, isNew);
                    raw.push_back(bench::elapsedMs([&] { replay.run(steps); }));
                    statements = static_cast<int>(steps.size());
                }
                return std::tuple{bench::median(module), bench::median(raw), saved, statements};
            };
            moduleState().gstrMode = QStringLiteral("N");
            int run = 0;
            const auto [created, createdRaw, saved, createdSteps] = timed(
                [&] { return PurchaseReturnSave(moduleConnection(), moduleSession()).save(entries.at(run++)); }, true);
            PurchaseReturnEntry edited = entries.last();
            edited.mode = EntryMode::Stored;
            edited.id = saved.transId;
            edited.number = saved.transNo;
            moduleState().gstrMode = QStringLiteral("E");
            const auto [changed, changedRaw, unused, changedSteps] = timed(
                [&] { return PurchaseReturnSave(moduleConnection(), moduleSession()).save(edited); }, false);
            const QString lines = QStringLiteral("%1 lines, %2 steps");
            bench::report(out, QStringLiteral("save_new"), backend, n, created, createdRaw, bench::peakRssMiB(),
                          lines.arg(entries.first().lines.size()).arg(createdSteps));
            bench::report(out, QStringLiteral("save_edited"), backend, n, changed, changedRaw, bench::peakRssMiB(),
                          lines.arg(edited.lines.size()).arg(changedSteps));
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
