#include "EditorTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnCancel.h"

namespace shop::test {
namespace {

class PurchaseReturnCancelTest : public EditorTest {
protected:
    bool cancel(qint32 id, const QString &reason) { return PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(TransactionId(id), "PR1", reason); }
    QStringList header(qint32 id)
    {
        return rows("select whCancelled, whCancelledRemarks from LOsPurchaseReturnHeader where whShopID = 1 and WhID = ?",
                    {id});
    }
};

TEST_P(PurchaseReturnCancelTest, BlankReasonWritesNothingAGivenOneFlagsThisModulesRowsOfTheShop)
{
    QStringList seen;
    setStatementObserver(con(), [&](const QString &kind, const QString &) { seen << kind; });
    EXPECT_FALSE(cancel(1, "   "));
    EXPECT_TRUE(seen.isEmpty());
    setStatementObserver(con(), {});

    ASSERT_TRUE(cancel(1, "  damaged "));
    EXPECT_EQ(header(1), QStringList{"1|clerk:damaged"});
    // The cancel flag of every issue-ledger row of transaction 1, whatever its owner.
    EXPECT_EQ(rows("select 'L', lidInterfaceId, lidShopId, lidDetailId, lidCancel from losLocationIssueDetails "
                   "where lidTransId = 1 union all "
                   "select 'E', eidInterfaceId, eidShopId, eidDetailId, eidCancel from losExpiryIssueDetails "
                   "where eidTransactionId = 1 union all "
                   "select 'S', sidInterfaceId, sidShopId, sidDetailId, sidCancel from losSerialIssueDetails "
                   "where sidTransactionId = 1 order by 1, 2, 3, 4"),
              (QStringList{"E|1901|1|1|1", "E|1901|2|1|0", "L|1801|1|1|0", "L|1901|1|1|1", "L|1901|1|2|1",
                           "L|1901|2|1|0", "S|1901|2|1|0"}));
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnDetail where wdshopid = 1 and WdID = 1"), 3);
    EXPECT_EQ(rows("select stock from mosShopStock where shopid = 1 and itemid in (1, 5) order by itemid"),
              (QStringList{"40", "80"}));

    // A second cancellation, from a terminal that had not seen the first, gives nothing back again.
    EXPECT_THROW(cancel(1, "twice"), ModuleError);
    EXPECT_EQ(header(1), QStringList{"1|clerk:damaged"});
    EXPECT_EQ(rows("select stock from mosShopStock where shopid = 1 and itemid in (1, 5) order by itemid"),
              (QStringList{"40", "80"}));
}

TEST_P(PurchaseReturnCancelTest, StockGoesBackBeforeTheHeaderIsFlaggedThenRemarksFlagAndLedgers)
{
    QStringList steps;
    setStatementObserver(con(), [&](const QString &kind, const QString &text) {
        static const QList<std::pair<QString, QString>> named{
            {"whcancelled, whposted from LOsPurchaseReturnHeader", "check"}, {"spUpdateshopPurchaseReturn", "procedure"},
            {"set whCancelledRemarks", "remarks"},                   {"set whCancelled=1", "flag"},
            {"UPDATE losLocationIssueDetails", "locations"},        {"UPDATE losExpiryIssueDetails", "expiry"},
            {"UPDATE losserialIssueDetails", "serials"},             {"insert into shop_commit_tokens", "token"}};
        if (kind == "begin" || kind == "commit")
            steps << kind;
        for (const auto &[fragment, step] : named)
            if (text.contains(fragment))
                steps << step;
    });
    ASSERT_TRUE(cancel(1, "damaged"));
    setStatementObserver(con(), {});
    EXPECT_EQ(steps, QStringList({"begin", "check", "procedure", "remarks", "flag", "locations", "expiry", "serials",
                                  "token", "commit"}));
}

TEST_P(PurchaseReturnCancelTest, UnknownUsersIdsAbove32767AndPastedTextStillCancel)
{
    state().gintUserID = 99; // no row in lousers: the remark stays empty
    ASSERT_TRUE(cancel(1, "damaged"));
    EXPECT_EQ(header(1), QStringList{"1|"});

    state().gintUserID = 1;
    con().execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, whcancelled) values (1, 40000, 'PR40000', 0)");
    con().execute("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdPurchaseReturnQty) values (1, 40000, 6, 5)");
    const QString pasted = "O'Neill '; drop table LOsPurchaseReturnDetail; --";
    ASSERT_TRUE(cancel(40000, pasted));
    EXPECT_EQ(header(40000), QStringList{"1|clerk:" + pasted});
    EXPECT_EQ(rows("select stock from mosShopStock where shopid = 1 and itemid = 6"), QStringList{"30"});
}

TEST_P(PurchaseReturnCancelTest, AFailureAtAnyStepLeavesTheDatabaseAsItWas)
{
    // begin, procedure, two header updates, three ledgers, audit, commit
    failEachWriteInTurn([&] { cancel(1, "damaged"); }, 8);
}

SHOP_ON_ALL_BACKENDS(PurchaseReturnCancelTest);

} // namespace
} // namespace shop::test
