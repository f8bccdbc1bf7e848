#include "EditorTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnCancel.h"
#include "editor/PurchaseReturnSave.h"
#include "stock/StockBalances.h"

namespace shop::test {
namespace {

class PurchaseReturnSaveTest : public EditorTest {
protected:
    // Saves, recording what reaches the database.
    SaveOutcome save(const PurchaseReturnEntry &e)
    {
        log.clear();
        setStatementObserver(con(), [this](const QString &kind, const QString &text) { log << kind + ' ' + text; });
        SaveOutcome out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(e);
        setStatementObserver(con(), {});
        return out;
    }
    int indexOf(const QString &start) const
    {
        for (int i = 0; i < log.size(); ++i)
            if (log.at(i).startsWith(start, Qt::CaseInsensitive))
                return i;
        return -1;
    }

    QStringList log;
};

// PR1 of shop 1 opened for editing, with new lines.
PurchaseReturnEntry editOfPr1(const QList<QStringList> &lines)
{
    PurchaseReturnEntry e = newEntry(lines);
    e.mode = EntryMode::Stored;
    e.id = TransactionId(1);
    e.number = "PR1";
    return e;
}

QStringList locationRow(const QString &qty, int locationId, int itemId, const QString &packing = {})
{
    return {"1", "loc", qty, QString::number(locationId), packing, "2", QString::number(itemId)};
}

const QStringList kExpiryRow{"1", "B1002", "15/12/2026", "4", {}, "0", "1"};
const QStringList kSerialRow{"1", "3", "SN-TV-0002", "1", {}, "0"};

TEST_P(PurchaseReturnSaveTest, NewReturnWritesHeaderAndDetailsAndCallsTheProcedureOnce)
{
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "2"), itemLine(2, 6, "1.5")});
    e.remarks = " O'Neill's '; drop table LOsPurchaseReturnDetail; -- ";
    const SaveOutcome out = save(e);
    ASSERT_TRUE(out.saved);
    EXPECT_EQ(out.transId.value(), 8);
    EXPECT_EQ(out.transNo, "PR7");
    EXPECT_EQ(rows("select WhNo, WhDate, WhUserName, WhRemarks, whcancelled, whdepartmentid, whOtherDepId, "
                   "Whtransfinished, whtype, whexpenseaccid, whexchangerates "
                   "from LOsPurchaseReturnHeader where whShopID = 1 and WhID = 8"),
              QStringList{"PR7|06/12/2026|clerk|O'Neill's '; drop table LOsPurchaseReturnDetail; --|0|10|<null>|0|P|103|"
                          "1:4:-1:3.75:"});
    EXPECT_EQ(rows("select WdItemID, WdAvailableQty, WdPurchaseReturnQty, wdshipmentid, wdcostprice "
                   "from LOsPurchaseReturnDetail where wdshopid = 1 and WdID = 8 order by WdItemID"),
              (QStringList{"5|80|2|1|2.5", "6|80|1.5|1|2.5"}));
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidTransId = 8"), 0);
    EXPECT_EQ(log.filter(QRegularExpression("^procedure ")), QStringList{"procedure spUpdateshopWriteoff 8,1,F,P"});

    // A shop that has no expense account yet still records its returns.
    con().execute("update ashops set ExpenseAccount = null where ShopID = 1");
    const SaveOutcome second = save(newEntry({itemLine(1, 5, "1")}));
    ASSERT_TRUE(second.saved);
    EXPECT_EQ(rows("select whexpenseaccid from LOsPurchaseReturnHeader where whShopID = 1 and WhID = 9"),
              QStringList{"<null>"});
}

TEST_P(PurchaseReturnSaveTest, EditingGivesStockBackBeforeTheOldLinesGoAndTakesItAfterTheNewOnes)
{
    ASSERT_TRUE(save(editOfPr1({itemLine(1, 5, "1")})).saved);
    EXPECT_EQ(log.filter(QRegularExpression("^procedure ")),
              (QStringList{"procedure spUpdateshopWriteoff 1,1,R,P", "procedure spUpdateshopWriteoff 1,1,F,P"}));
    EXPECT_LT(indexOf("procedure spUpdateshopWriteoff 1,1,R,P"), indexOf("execute delete from LOsPurchaseReturnDetail"));
    EXPECT_LT(indexOf("execute insert into LOsPurchaseReturnDetail"), indexOf("procedure spUpdateshopWriteoff 1,1,F,P"));
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader where whShopID = 1 and WhID = 1 "
                    "and updatetime is not null"), 1);
    // The lines kept no allocations, so the return's stored issues go with the lines
    // that were removed; another module's rows under the same id stay.
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidInterfaceId = 1901 and lidShopId = 1 "
                    "and lidTransId = 1"), 0);
    EXPECT_EQ(count("select count(*) from losExpiryIssueDetails where eidInterfaceId = 1901 and eidShopId = 1 "
                    "and eidTransactionId = 1"), 0);
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidInterfaceId = 1801 and lidTransId = 1"), 1);

    // Cancelled from another terminal meanwhile: the edit is refused and changes nothing.
    con().execute("update LOsPurchaseReturnHeader set whcancelled = 1 where whShopID = 1 and WhID = 1");
    const SaveOutcome refused = save(editOfPr1({itemLine(1, 6, "1")}));
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(refused.refusal, "This entry is already deleted");
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader where whShopID = 1 and WhID = 1 and whcancelled = 1"), 1);
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnDetail where wdshopid = 1 and WdID = 1 and WdItemID = 6"), 0);
}

TEST_P(PurchaseReturnSaveTest, LedgerRowsFollowTableOrderAndRestartAtOneOnEverySave)
{
    PurchaseReturnEntry e = editOfPr1({itemLine(1, 5, "3"), itemLine(2, 1, "4"), itemLine(3, 3, "1")});
    e.locations.addRow(locationRow("4", 3, 1));
    e.locations.addRow(locationRow("1", 1, 5, "2"));
    e.locations.addRow(locationRow("2", 2, 5));
    e.expiry.addRow(kExpiryRow);
    e.serials.addRow(kSerialRow);
    ASSERT_TRUE(save(e).saved);
    const QString locations =
        "select lidDetailId, lidLocationId, lidItemId, lidItemQty, lidPackingTypeId, lidPakingQty, lidCancel "
        "from losLocationIssueDetails where lidInterfaceId = 1901 and lidShopId = 1 and lidTransId = 1 order by lidDetailId";
    EXPECT_EQ(rows(locations), (QStringList{"1|3|1|4|<null>|2|0", "2|1|5|1|2|2|0", "3|2|5|2|<null>|2|0"}));
    EXPECT_EQ(rows("select eidDetailId, eidExpiryDate, eidBatchNo, eidItemId, eidItemQty, eidCancel from "
                   "losExpiryIssueDetails where eidInterfaceId = 1901 and eidShopId = 1 and eidTransactionId = 1"),
              QStringList{"1|15/12/2026|B1002|1|4|0"});
    EXPECT_EQ(rows("select sidDetailId, sidSerialNo, sidItemId, sidItemQty, sidCancel, sidAdjustment, sidFreeQty "
                   "from losSerialIssueDetails where sidShopId = 1 and sidTransactionId = 1"),
              QStringList{"1|SN-TV-0002|3|1|0|0|0"});

    e.locations.removeRow(1);
    ASSERT_TRUE(save(e).saved);
    EXPECT_EQ(rows(locations), (QStringList{"1|1|5|1|2|2|0", "2|2|5|2|<null>|2|0"}));
    // Another module's row with the same transaction id is never touched.
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidInterfaceId = 1801"), 1);
}

// The item window's balances and a save's statements are prepared once a session, not
// again after every save.
TEST_P(PurchaseReturnSaveTest, BalancesAndTheNextSavesPrepareNothingAgain)
{
    PurchaseReturnEntry e = editOfPr1({itemLine(1, 5, "3")});
    e.locations.addRow(locationRow("3", 1, 5));
    const StockBalances balances(con());
    const BalanceOwner owner{1, 5, TransactionId(1)};
    const auto lookUp = [&] {
        balances.locations(owner);
        balances.batches(owner);
        balances.serials(owner);
    };
    QList<int> prepared;
    for (int round = 0; round < 3; ++round) {
        const int before = statementsPrepared(con());
        lookUp();
        ASSERT_TRUE(save(e).saved);
        prepared << statementsPrepared(con()) - before;
    }
    EXPECT_GT(prepared[0], 0);
    // Every statement of a save, the shop's look-ups with their ids included, is kept from the first.
    EXPECT_EQ(prepared[1], 0);
    EXPECT_EQ(prepared[2], 0);
    const int afterSaves = statementsPrepared(con());
    lookUp();
    EXPECT_EQ(statementsPrepared(con()), afterSaves);
}

// A shop that keeps no stock by location never stores its location rows, whatever they hold.
TEST_P(PurchaseReturnSaveTest, ShopWithoutLocationsWritesNoLocationRowsAndBadQuantitiesCountAsZero)
{
    loginShop(2);
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "abc", "12abc")});
    e.locations.addRow(locationRow("1", 1, 5));
    e.locations.addRow(locationRow("1", 1, 7)); // of an item without a line: not refused either
    const SaveOutcome out = save(e);
    EXPECT_EQ(out.transNo, "BC2");
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidShopId = 2 and lidTransId = ?", {out.transId.value()}), 0);
    EXPECT_EQ(rows("select WdAvailableQty, WdPurchaseReturnQty from LOsPurchaseReturnDetail where wdshopid = 2 and WdID = ?",
                   {out.transId.value()}),
              QStringList{"12|0"});
}

TEST_P(PurchaseReturnSaveTest, ShopIdsAndExpenseAccountsPast32767StillSave)
{
    con().execute("insert into ashops (ShopID, CompanyID, DepartmentID, ExpenseAccount, LocationArrangement) "
                  "values (40000, 1, 11, 40001, 1)");
    con().execute("insert into losLocation (lLocationId, lShopId, lLocationName) values (1, 40000, 'Shelf')");
    con().execute("insert into mosShopStock (itemid, shopid, stock) values (5, 40000, 3)");
    con().execute("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, ladItemId, "
                  "ladItemQty, ladCancel) values (1001, 1, 1, 40000, 5, 3, 0)");
    loginShop(40000);
    state().gintShopDepartmentID = 11;
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "1")});
    e.locations.addRow(locationRow("1", 1, 5));
    const SaveOutcome out = save(e);
    ASSERT_TRUE(out.saved);
    EXPECT_EQ(rows("select WhID, whexpenseaccid from LOsPurchaseReturnHeader where whShopID = 40000"),
              QStringList{"1|40001"});
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidShopId = 40000"), 1)
        << "the shop keeps stock by location";
}

TEST_P(PurchaseReturnSaveTest, IssueToAnotherDepartmentUsesTheirControlAccount)
{
    state().gstrTransType = "I";
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "1")});
    e.departmentId = 10;
    e.apartmentId = 2;
    e.receivedBy = " Ann ";
    const SaveOutcome own = save(e);
    e.departmentId = 11;
    const SaveOutcome other = save(e);
    EXPECT_EQ(rows("select WhID, whOtherDepId, whapartmentid, whexpenseaccid, whreceivedby, whauthorisedby, whtype "
                   "from LOsPurchaseReturnHeader where whShopID = 1 and WhID in (?, ?) order by WhID",
                   {own.transId.value(), other.transId.value()}),
              (QStringList{"8|10|2|103|Ann||I", "9|11|2|104|Ann||I"}));
}

TEST_P(PurchaseReturnSaveTest, PostedReturnIsRefusedBeforeAnythingIsWritten)
{
    PurchaseReturnEntry e = editOfPr1({itemLine(1, 5, "1")});
    e.id = TransactionId(3); // PR3 is posted
    const SaveOutcome out = save(e);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.refusal, "The transaction has posted to the journal. Please cancel post to edit it.");
    EXPECT_EQ(out.icon, MsgIcon::Critical);
    EXPECT_EQ(log.filter(QRegularExpression("^(begin|execute|procedure)")), QStringList{});
}

TEST_P(PurchaseReturnSaveTest, AllocationsOfAnItemWithoutALineAreRefusedBeforeAnythingIsWritten)
{
    const QStringList before = dump();
    PurchaseReturnEntry withLocation = editOfPr1({itemLine(1, 5, "1")});
    withLocation.locations.addRow(locationRow("1", 1, 5));
    withLocation.locations.addRow(locationRow("4", 3, 1)); // milk has no line
    PurchaseReturnEntry withExpiry = newEntry({itemLine(1, 5, "1")});
    withExpiry.expiry.addRow(kExpiryRow);
    PurchaseReturnEntry withSerial = editOfPr1({itemLine(1, 5, "1")});
    withSerial.serials.addRow(kSerialRow);
    for (const PurchaseReturnEntry *e : {&withLocation, &withExpiry, &withSerial}) {
        const SaveOutcome out = save(*e);
        EXPECT_FALSE(out.saved);
        EXPECT_EQ(out.refusal, PurchaseReturnSave::AllocationWithoutLineMessage);
        EXPECT_EQ(out.icon, MsgIcon::Exclamation);
        EXPECT_EQ(log.filter(QRegularExpression("^(begin|execute|procedure)")), QStringList{});
    }
    EXPECT_EQ(dump(), before);
}

TEST_P(PurchaseReturnSaveTest, ANumberTakenMeanwhileMakesTheSaveRunAgain)
{
    if (GetParam() == Backend::Sqlite)
        GTEST_SKIP() << "the save's lock keeps every other writer of the file out until it commits";
    // Just before the header goes in, another terminal on a connection of its own stores
    // PR7: the save's header collides, rolls back and numbers again.
    const ConnectionPtr other = Connection::open(db.location());
    bool taken = false;
    int attempts = 0;
    setStatementObserver(con(), [&](const QString &kind, const QString &text) {
        attempts += kind == "begin";
        if (!taken && text.startsWith("insert into LOsPurchaseReturnHeader")) {
            taken = true;
            other->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 99, 'PR7')");
        }
    });
    const SaveOutcome out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(newEntry({itemLine(1, 5, "1")}));
    setStatementObserver(con(), {});
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(out.transNo, "PR8");
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader where whShopID = 1"), 9);
}

// The server broke a deadlock or a serialization conflict by rolling the save back: it
// runs again from the start; only when every try ends so does the clerk hear of it,
// in plain words, with nothing stored.
TEST_P(PurchaseReturnSaveTest, AConflictTheServerBrokeRunsTheSaveAgainAndTheLastTryTellsItPlainly)
{
    for (const int conflicts : {1, ModuleWrite::MaxAttempts - 1, ModuleWrite::MaxAttempts}) {
        SCOPED_TRACE(conflicts);
        const int stored = count("select count(*) from LOsPurchaseReturnHeader");
        int attempts = 0;
        setStatementObserver(con(), [&](const QString &kind, const QString &) {
            attempts += kind == "begin";
            if (kind == "procedure" && attempts <= conflicts)
                throw ModuleError(TransactionConflict, "server", "ERROR:  deadlock detected");
        });
        try {
            EXPECT_TRUE(PurchaseReturnSave(moduleConnection(), moduleSession()).save(newEntry({itemLine(1, 5, "1")})).saved);
            EXPECT_LT(conflicts, ModuleWrite::MaxAttempts);
            EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader"), stored + 1);
        } catch (const ModuleError &e) {
            EXPECT_EQ(conflicts, ModuleWrite::MaxAttempts);
            EXPECT_EQ(e.description(), ModuleWrite::ConflictMessage);
            EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader"), stored);
        }
        setStatementObserver(con(), {});
        EXPECT_EQ(attempts, std::min(conflicts + 1, ModuleWrite::MaxAttempts));
    }
}

// Ok pressed again with the token of a save or cancellation already stored (its
// answer was lost) finds it and stores nothing more.
TEST_P(PurchaseReturnSaveTest, AWriteWhoseTokenIsStoredIsNeverStoredTwice)
{
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "1")});
    e.commitToken = newWriteToken();
    const SaveOutcome first = PurchaseReturnSave(moduleConnection(), moduleSession()).save(e);
    const QStringList afterFirst = dump();
    const SaveOutcome again = PurchaseReturnSave(moduleConnection(), moduleSession()).save(e);
    EXPECT_TRUE(again.saved);
    EXPECT_EQ(QStringList({again.transNo, QString::number(again.transId.value())}),
              QStringList({first.transNo, QString::number(first.transId.value())}));
    EXPECT_EQ(dump(), afterFirst);

    const QString token = newWriteToken();
    ASSERT_TRUE(PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(first.transId, first.transNo, "torn", token));
    const QStringList afterCancel = dump();
    EXPECT_TRUE(PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(first.transId, first.transNo, "torn", token)) << "not \"already deleted\"";
    EXPECT_EQ(dump(), afterCancel);
}

// Breaks a new and an edited save at each step that reaches the database in turn.
TEST_P(PurchaseReturnSaveTest, AFailureAtAnyStepLeavesTheDatabaseAsItWas)
{
    PurchaseReturnEntry edit = editOfPr1({itemLine(1, 5, "1"), itemLine(2, 1, "4"), itemLine(3, 3, "1")});
    edit.locations.addRow(locationRow("1", 1, 5));
    edit.expiry.addRow(kExpiryRow);
    edit.serials.addRow(kSerialRow);
    PurchaseReturnEntry fresh = edit;
    fresh.mode = EntryMode::New;
    fresh.serials.setText(1, serialcol::SerialNo, "SN-TV-0003"); // the edit keeps SN-TV-0002 for itself
    for (const PurchaseReturnEntry *entry : {&fresh, &edit})
        failEachWriteInTurn([&] { PurchaseReturnSave(moduleConnection(), moduleSession()).save(*entry); }, 10);
}

SHOP_ON_ALL_BACKENDS(PurchaseReturnSaveTest);

} // namespace
} // namespace shop::test
