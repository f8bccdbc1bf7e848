#include "EditorTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <map>

namespace shop::test {
namespace {

class CrashSafety : public EditorTest {
protected:
    QString stockOf(int item)
    {
        return con().scalar("select cast(stock as varchar(30)) from mosShopStock where shopid = 1 and itemid = ?", {item}).toString();
    }

    // What a power cut may not leave behind: every return of the run is whole, with
    // its three lines and their location, batch and serial rows flagged as the return
    // is; nothing belongs to no return; the stock is the demo's less what the returns
    // still hold.
    void expectWhole(const std::map<int, double> &initialStock, int kill)
    {
        if (GetParam() == Backend::Sqlite) {
            ASSERT_EQ(con().scalar("PRAGMA integrity_check").toString(), "ok") << "after kill " << kill;
        }
        // One row per return of the run: its lines and its ledger rows flagged as it is.
        const Recordset headers = con().query(
            "select h.whid, h.whcancelled, "
            "(select count(*) from LOsPurchaseReturnDetail d where d.wdshopid = 1 and d.wdid = h.whid), "
            "(select count(*) from losLocationIssueDetails l where l.lidInterfaceId = 1901 and l.lidShopId = 1 "
            " and l.lidTransId = h.whid and l.lidCancel = h.whcancelled), "
            "(select count(*) from losExpiryIssueDetails e where e.eidInterfaceId = 1901 and e.eidShopId = 1 "
            " and e.eidTransactionId = h.whid and e.eidCancel = h.whcancelled), "
            "(select count(*) from losSerialIssueDetails s where s.sidInterfaceId = 1901 and s.sidShopId = 1 "
            " and s.sidTransactionId = h.whid and s.sidCancel = h.whcancelled) "
            "from LOsPurchaseReturnHeader h where h.whshopid = 1 and h.WhRemarks like 'Churn %'");
        int live = 0;
        for (int r = 0; r < headers.recordCount(); ++r) {
            live += headers.value(r, 1).toInt() == 0 ? 1 : 0;
            const QString found = QStringList{headers.value(r, 2).toString(), headers.value(r, 3).toString(),
                                              headers.value(r, 4).toString(), headers.value(r, 5).toString()}
                                      .join('/');
            ASSERT_EQ(found, "3/3/1/1") << "return " << headers.value(r, 0).toInt() << " after kill " << kill;
        }
        EXPECT_EQ(count("select count(*) from LOsPurchaseReturnDetail d where wdshopid = 1 and not exists "
                        "(select 1 from LOsPurchaseReturnHeader h where h.whshopid = 1 and h.whid = d.wdid)"),
                  0);
        EXPECT_EQ(count("select count(*) from losSerialIssueDetails s where sidInterfaceId = 1901 and sidShopId = 1 and "
                        "not exists (select 1 from LOsPurchaseReturnHeader h where h.whshopid = 1 and h.whid = s.sidTransactionId)"),
                  0);
        // The stock and the live returns in one statement: on a server, a terminal killed just
        // after its COMMIT left may see that commit land between two reads.
        for (const auto &[item, before] : initialStock) {
            const Recordset now = con().query(
                "select cast(stock as varchar(30)), (select count(*) from LOsPurchaseReturnHeader h where h.whshopid = 1 "
                "and h.WhRemarks like 'Churn %' and h.whcancelled = 0) from mosShopStock where shopid = 1 and itemid = ?",
                {item});
            ASSERT_DOUBLE_EQ(now.value(0, 0).toString().toDouble(), before - now.value(0, 1).toInt())
                << "item " << item << " after kill " << kill << " (" << live << " live returns found before)";
        }
    }
};

// A terminal saving and cancelling returns is killed at random moments, a hundred
// times: the database stays sound and every return is all there or not at all.
TEST_P(CrashSafety, KilledTerminalsLeaveEveryReturnWholeOrAbsent)
{
    std::map<int, double> initialStock;
    for (int item : {1, 3, 5})
        initialStock[item] = stockOf(item).toDouble();
    QRandomGenerator random(20261206);
    int saved = 0;
    constexpr int kKills = 100;
    for (int kill = 1; kill <= kKills; ++kill) {
        QProcess terminal;
        terminal.start(QCoreApplication::applicationDirPath() + "/concurrent_saves", {db.location(), "1", "--churn"});
        ASSERT_TRUE(terminal.waitForStarted());
        QThread::msleep(20 + random.bounded(180u));
        terminal.kill(); // SIGKILL: no chance to finish a statement or roll back
        terminal.waitForFinished();
        saved += QString::fromUtf8(terminal.readAllStandardOutput()).count("saved ");
        const QString errors = QString::fromUtf8(terminal.readAllStandardError());
        ASSERT_FALSE(errors.contains("failed:")) << errors.toStdString();
        expectWhole(initialStock, kill);
    }
    EXPECT_GT(saved, kKills / 10) << "the terminal got to save between the kills";

    // The next start of the host works on what is left.
    QProcess host;
    host.start(SHOPHOST_PATH, {"--database", db.location(), "--check"});
    ASSERT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
}

SHOP_ON_ALL_BACKENDS(CrashSafety);

} // namespace
} // namespace shop::test
