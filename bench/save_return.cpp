// How long saving a 50-line return with 150 allocation rows takes, new and edited, as
// the ledgers grow, against bare inserts of the same rows in one transaction.
//   save_return [rows per ledger ...]   (default 10000 100000) on SQLite, and on
//                                       PostgreSQL when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/db/Schema.h"
#include "common/db/Transaction.h"
#include "common/host/ModuleState.h"
#include "support/LedgerGenerator.h"
#include "demo/DemoData.h"
#include "editor/PurchaseReturnSave.h"
#include "editor/TransactionRates.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QSqlQuery>

using namespace shop;

namespace {

const QDate kToday(2026, 12, 6);
constexpr int kLines = 50;

PurchaseReturnEntry fiftyLines()
{
    PurchaseReturnEntry e;
    e.mode = QStringLiteral("N");
    e.dateText = QStringLiteral("06/12/2026");
    e.userName = QStringLiteral("clerk");
    e.remarks = QStringLiteral("Benchmark return");
    for (int k = 0; k < kLines; ++k) {
        const QString item = QString::number(bench::FirstItemId + k);
        const QString location = QString::number(100 + k % bench::LocationsPerShop);
        e.lines.append({QString::number(k + 1), QStringLiteral("1"), QStringLiteral("GEN"), QStringLiteral("Generated"),
                        QStringLiteral("100.000"), QStringLiteral("1"), QStringLiteral("1"), item, QStringLiteral("2.5"),
                        QStringLiteral("PCS")});
        e.locations.addRow({QString::number(k + 1), QStringLiteral("Bay"), QStringLiteral("1"), location, QString(),
                            QStringLiteral("0"), item});
        e.expiry.addRow({QString::number(k + 1), QStringLiteral("GB%1").arg(k % 50), QStringLiteral("2027-01-15"),
                         QStringLiteral("1"), QString(), QStringLiteral("0"), item});
        e.serials.addRow({QString::number(k + 1), item, QStringLiteral("GS%1").arg(k + 1), QStringLiteral("1"), QString(),
                          QStringLiteral("0")});
    }
    return e;
}

// The same rows through bare prepared inserts in one transaction.
void rawInserts(Connection &con, const PurchaseReturnEntry &e, int id)
{
    QSqlDatabase db = con.database();
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
    for (int k = 0; k < kLines; ++k) {
        const int item = bench::FirstItemId + k;
        for (const QVariant &v : QVariantList{id, item})
            detail.addBindValue(v);
        detail.exec();
        for (const QVariant &v : QVariantList{id, k + 1, 100 + k % bench::LocationsPerShop, item})
            location.addBindValue(v);
        location.exec();
        for (const QVariant &v : QVariantList{id, k + 1, QDate(2027, 1, 15), QStringLiteral("GB%1").arg(k % 50), item})
            expiry.addBindValue(v);
        expiry.exec();
        for (const QVariant &v : QVariantList{id, k + 1, QStringLiteral("GS%1").arg(k + 1), item})
            serial.addBindValue(v);
        serial.exec();
    }
    tx.commit();
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
    buildTransactionRates();
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

            const PurchaseReturnEntry entry = fiftyLines();
            SaveOutcome saved;
            moduleState().gstrMode = QStringLiteral("N");
            const double created = bench::medianMs(7, [&] { saved = PurchaseReturnSave().save(entry); });
            PurchaseReturnEntry edited = entry;
            edited.mode = QStringLiteral("E");
            edited.id = saved.transId;
            edited.number = saved.transNo;
            moduleState().gstrMode = QStringLiteral("E");
            const double changed = bench::medianMs(7, [&] { PurchaseReturnSave().save(edited); });
            int rawId = 500000;
            const double raw = bench::medianMs(7, [&] { rawInserts(*db.con, entry, ++rawId); });
            bench::report(out, QStringLiteral("save new"), backend, n, created, raw);
            bench::report(out, QStringLiteral("save edited"), backend, n, changed, raw);
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
