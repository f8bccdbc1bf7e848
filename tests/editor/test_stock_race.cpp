#include "EditorTestSupport.h"

#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnSave.h"

#include <QCoreApplication>
#include <QProcess>

namespace shop::test {
namespace {

// One unit of an item lies in one location, one batch and under one serial number.
class LastUnit : public EditorTest {
protected:
    LastUnit()
    {
        con().execute("insert into aItem (ItemId, itemcode, description, itemtype, Active, UnitsId, ExpiryNoOfDays, "
                      "SerialNoActive, SerialNodupli, ItemRate) values (50, 'RACE', 'Race item', 'A', 1, 1, 30, 1, 0, 2.5)");
        con().execute("insert into mosShopStock (itemid, shopid, stock) values (50, 1, 1)");
        con().execute("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, ladItemId, "
                      "ladItemQty, ladCancel) values (1001, 900, 2, 1, 50, 1, 0)");
        con().execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, eadShopId, "
                      "eadItemId, eadItemQty, eadCancel) values (1001, 900, ?, 'RB1', 1, 50, 1, 0)",
                      {QDate(2027, 1, 31)});
        con().execute("insert into losSerialArrivalDetails (sadInterfaceId, sadTransId, sadSerialNo, sadShopId, sadItemId, "
                      "sadItemQty, sadCancel) values (1001, 900, 'RS1', 1, 50, 1, 0)");
    }

    PurchaseReturnEntry lastUnit(const QString &location, const QString &batch, const QString &serial)
    {
        PurchaseReturnEntry e = newEntry({itemLine(1, 50, "1")});
        e.locations.addRow({"1", "Back store", "1", location, "", "0", "50"});
        e.expiry.addRow({"1", batch, "31/01/2027", "1", "", "0", "50"});
        e.serials.addRow({"1", "50", serial, "1", "", "0"});
        return e;
    }

    // What is left of the item: in stock, in location 2, in batch RB1 and under RS1.
    QStringList left()
    {
        return {QString::number(con().scalar("select stock from mosShopStock where shopid = 1 and itemid = 50").toDouble()),
                QString::number(count("select count(*) from losLocationIssueDetails where lidItemId = 50 and lidCancel = 0")),
                QString::number(count("select count(*) from losExpiryIssueDetails where eidItemId = 50 and eidCancel = 0")),
                QString::number(count("select count(*) from losSerialIssueDetails where sidItemId = 50 and sidCancel = 0"))};
    }
};

// Two terminals take the last unit at once: the shop's save lock lets one save at a
// time, and the second finds the unit gone inside its transaction and is refused.
TEST_P(LastUnit, TwoTerminalsTakingTheLastUnitGiveOneReturnAndOneRefusal)
{
    QProcess terminals[2];
    for (QProcess &p : terminals)
        p.start(QCoreApplication::applicationDirPath() + "/concurrent_saves",
                {db.location(), "1", "--take", "50", "2", "RB1", "2027-01-31", "RS1"});
    QStringList said;
    for (QProcess &p : terminals) {
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        said << QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    said.sort();
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[0].startsWith("refused: Not enough stock of Race item")) << said[0];
    EXPECT_TRUE(said[1].startsWith("saved PR")) << said[1];
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader where whshopid = 1 and WhRemarks = 'Last unit'"), 1);
    EXPECT_EQ(left(), QStringList({"0", "1", "1", "1"})) << "no balance below zero";
}

// Each place the return takes from is checked on its own, and a refusal stores nothing.
TEST_P(LastUnit, AReturnTakingWhatIsNoLongerThereIsRefusedNamingThePlaceAndStoresNothing)
{
    ASSERT_TRUE(PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS1")).saved);
    con().execute("update mosShopStock set stock = 5 where shopid = 1 and itemid = 50"); // stock, but not in those places
    const QStringList afterStock = dump();
    const struct {
        PurchaseReturnEntry entry;
        QString message;
    } cases[] = {
        {lastUnit("2", "RB1", "RS1"), "Not enough stock of Race item in location Back store: 0.000 left, the return takes 1.000."},
        {lastUnit("1", "RB1", "RS1"), "Not enough stock of Race item in location Front shelf: 0.000 left, the return takes 1.000."},
    };
    for (const auto &c : cases) {
        const SaveOutcome out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(c.entry);
        EXPECT_FALSE(out.saved);
        EXPECT_TRUE(out.refusal.startsWith(c.message)) << out.refusal;
        EXPECT_EQ(dump(), afterStock);
    }
    con().execute("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, ladItemId, "
                  "ladItemQty, ladCancel) values (1001, 901, 2, 1, 50, 1, 0)");
    SaveOutcome out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS1"));
    EXPECT_TRUE(out.refusal.startsWith("Not enough stock of Race item in batch RB1: 0.000 left")) << out.refusal;
    con().execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, eadShopId, "
                  "eadItemId, eadItemQty, eadCancel) values (1001, 901, ?, 'RB1', 1, 50, 1, 0)",
                  {QDate(2027, 1, 31)});
    out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS1"));
    EXPECT_TRUE(out.refusal.startsWith("Not enough stock of Race item with serial number RS1: 0.000 left")) << out.refusal;
    EXPECT_TRUE(PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS2")).refusal.contains("RS2"));
    con().execute("update mosShopStock set stock = 0 where shopid = 1 and itemid = 50");
    out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS1"));
    EXPECT_TRUE(out.refusal.startsWith("Not enough stock of Race item: 0.000 left, the return takes 1.000.")) << out.refusal;
}

// Other issues took the item below zero everywhere after the return was stored: an edit
// that takes no more is saved, one that takes more is refused without blaming anyone.
TEST_P(LastUnit, AnEditIsRefusedOnlyForWhatItMakesWorse)
{
    const SaveOutcome stored = PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnit("2", "RB1", "RS1"));
    ASSERT_TRUE(stored.saved) << stored.refusal;
    con().execute("update mosShopStock set stock = -3 where shopid = 1 and itemid = 50");
    con().execute("insert into losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId, lidDetailId, lidLocationId, "
                  "lidItemId, lidItemQty, lidPackingTypeId, lidPakingQty, lidCancel) values (1501, 1, 77, 1, 2, 50, 2, null, 0, 0)");
    con().execute("insert into losExpiryIssueDetails (eidInterfaceId, eidShopId, eidTransactionId, eidDetailId, eidExpiryDate, "
                  "eidBatchNo, eidItemId, eidItemQty, eidPackingTypeId, eidPackingQty, eidCancel) "
                  "values (1501, 1, 77, 1, ?, 'RB1', 50, 2, null, 0, 0)",
                  {QDate(2027, 1, 31)});
    con().execute("insert into losSerialIssueDetails (sidInterfaceId, sidShopId, sidTransactionId, sidDetailId, sidSerialNo, "
                  "sidItemId, sidItemQty, sidPackingTypeId, sidPackingQty, sidCancel, sidAdjustment, sidFreeQty) "
                  "values (1501, 1, 77, 1, 'RS1', 50, 1, null, 0, 0, 0, 0)");
    PurchaseReturnEntry edit = lastUnit("2", "RB1", "RS1");
    edit.mode = EntryMode::Stored;
    edit.id = stored.transId;
    edit.number = stored.transNo;
    edit.remarks = "Only the remarks changed";
    const SaveOutcome same = PurchaseReturnSave(moduleConnection(), moduleSession()).save(edit);
    EXPECT_TRUE(same.saved) << same.refusal;
    edit.lines = {itemLine(1, 50, "2")};
    EXPECT_EQ(PurchaseReturnSave(moduleConnection(), moduleSession()).save(edit).refusal, "Not enough stock of Race item: -2.000 left, the return takes 2.000.");
}

SHOP_ON_ALL_BACKENDS(LastUnit);

} // namespace
} // namespace shop::test
