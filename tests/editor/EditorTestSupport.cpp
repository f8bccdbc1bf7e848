#include "EditorTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/ModuleError.h>

namespace shop::test {

EditorTest::EditorTest()
{
    ModuleState &s = session.login();
    s.gintInterfaceID = 1901;
    s.gintInventoryID = 100;
    s.gintStockTransferAccID = 101;
    s.gstrExchangeRates = "1:4:-1:3.75:";
    loginShop(1);
}

void EditorTest::loginShop(qint32 shopId)
{
    state().gintShopID = shopId;
    state().gintShopDepartmentID = 9 + shopId; // departments 10, 11, 12 of the demo
}

QStringList EditorTest::dump()
{
    return dumpTables(con(), {"LOsPurchaseReturnHeader", "LOsPurchaseReturnDetail", "losLocationIssueDetails",
                              "losExpiryIssueDetails", "losSerialIssueDetails", "mosShopStock"});
}

void EditorTest::failEachWriteInTurn(const std::function<void()> &action, int moreWritesThan)
{
    const QStringList before = dump();
    for (int failAt = 1;; ++failAt) {
        int step = 0;
        QString broken;
        setStatementObserver(con(), [&](const QString &kind, const QString &text) {
            if (kind != "query" && ++step == failAt) {
                broken = kind + ' ' + text;
                throw ModuleError(ModuleError::DatabaseFailure, "test", "injected");
            }
        });
        bool failed = false;
        try {
            action();
        } catch (const ModuleError &) {
            failed = true;
        }
        setStatementObserver(con(), {});
        if (!failed) {
            EXPECT_GT(failAt, moreWritesThan);
            EXPECT_NE(dump(), before);
            return;
        }
        EXPECT_FALSE(con().inTransaction());
        ASSERT_EQ(dump(), before) << "failure at " << broken;
    }
}

QStringList itemLine(int slNo, int itemId, const QString &returnQty, const QString &availableQty)
{
    return {QString::number(slNo), "1", QString("ITEM%1").arg(itemId), QString("Item %1").arg(itemId), availableQty,
            returnQty, "1", QString::number(itemId), "2.5", "PCS"};
}

PurchaseReturnEntry newEntry(const QList<QStringList> &lines)
{
    PurchaseReturnEntry e;
    e.mode = EntryMode::New;
    e.dateText = "06/12/2026";
    e.userName = " clerk ";
    e.remarks = " Damaged in transit ";
    e.lines = lines;
    return e;
}

} // namespace shop::test
