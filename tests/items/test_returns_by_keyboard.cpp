#include "ItemWindowTestSupport.h"

namespace shop::test {
namespace {

class ReturnsByKeyboard : public ClerkTest {};

TEST_P(ReturnsByKeyboard, PlainItemsFoundByBarcodeShortcutAndCodeAreSavedWithTheirStockTakenOut)
{
    db.con->execute("insert into ashopitemDetail (itemid, shopid, shortcutno) values (6, 2, '16')");
    db.con->execute("insert into mosShopStock (itemid, shopid, stock) values (10, 2, 5)");
    open(1, 2); // Bowmore Corner keeps no stock by location
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            const auto &c = w.controls();
            EXPECT_TRUE(c.cmdbarcode->isEnabled());
            scan(w, "5012345000059");
            EXPECT_EQ(c.cboItem->currentText(), "Long grain rice 5 kg");
            EXPECT_EQ(c.txtQuantity->text(), "40");
            EXPECT_EQ(focused(w), c.txtWriteQty);
            for (const AllocationGrid *g : {&w.locationGrid(), &w.expiryGrid(), &w.serialGrid()})
                EXPECT_TRUE(g->grid().isHidden());
            writeOff(w, "3");
            QTest::keyClick(c.cmdOK, Qt::Key_Return);
            EXPECT_EQ(c.cboItem->count(), 0) << "the window is cleared for the next item";
            EXPECT_EQ(focused(w), c.txtBarcode);

            scan(w, "00169"); // the shortcut is the number of the first four characters
            EXPECT_EQ(c.cboItem->currentText(), "White sugar 1 kg");
            writeOff(w, "2.5");
            QTest::mouseClick(c.cmdOK, Qt::LeftButton);

            scan(w, "TEA-100");
            EXPECT_EQ(c.cboItem->currentText(), "Breakfast tea 100 bags 'Highland'");
            writeOff(w, "1");
            QTest::mouseClick(c.cmdOK, Qt::LeftButton);
            EXPECT_TRUE(c.cmdNext->isEnabled());
        });
        EXPECT_EQ(editor.controls().lvwStock->topLevelItemCount(), 3);
        saveWithRemark(editor, "Damp sacks");
        EXPECT_FALSE(editor.isVisible());
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    const qint32 id = lastReturnId(2);
    EXPECT_EQ(db.con->scalar("select WhNo from LOsPurchaseReturnHeader where whshopid = 2 and whid = ?", {id}).toString(),
              "BC2");
    EXPECT_EQ(rows("select WdItemID, WdAvailableQty, WdPurchaseReturnQty, wdcostprice, wdshipmentid "
                   "from LOsPurchaseReturnDetail where wdshopid = 2 and wdid = ? order by WdItemID",
                   {id}),
              QStringList({"5|40|3|6.5|1", "6|10|2.5|1.1|1", "10|5|1|2.75|1"}));
    EXPECT_EQ(rows("select itemid, stock from mosShopStock where shopid = 2 and itemid in (5, 6, 10) order by itemid"),
              QStringList({"5|37", "6|7.5", "10|4"}));
    EXPECT_EQ(db.con->scalar("select count(*) from losLocationIssueDetails where lidshopid = 2 and lidtransid = ?", {id})
                  .toInt(),
              0);
}

TEST_P(ReturnsByKeyboard, LocationSplitIsProposedChangedByHandAndSavedInTableOrder)
{
    open(1, 1); // Harbour Market keeps stock by location
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            const auto &c = w.controls();
            AllocationGrid &locations = w.locationGrid();
            scan(w, "5012345000059");
            EXPECT_FALSE(locations.grid().isHidden());
            EXPECT_EQ(gridRows(locations, 4), QStringList({"1|Front shelf|0.000|1"})) << "nothing typed yet";
            writeOff(w, "10");
            // Front shelf holds 8 (20 in, 5 to PR1 and 7 to another module), Back store 60.
            EXPECT_EQ(gridRows(locations, 4), QStringList({"1|Front shelf|8.000|1", "2|Back store|2.000|2"}));
            EXPECT_EQ(locations.text(2, 7), "60.000");
            EXPECT_EQ(focused(w), &locations.combo());

            enter(&locations.combo());
            ASSERT_EQ(focused(w), &locations.quantityBox());
            EXPECT_EQ(locations.quantityBox().text(), "8");
            type(&locations.quantityBox(), "5");
            enter(&locations.quantityBox()); // 7 of 10: on to the next row
            EXPECT_EQ(focused(w), &locations.combo());
            enter(&locations.combo());
            type(&locations.quantityBox(), "5");
            enter(&locations.quantityBox());
            EXPECT_EQ(focused(w), c.cmdOK) << "the rows hold the whole line";
            enter(c.cmdOK);
            EXPECT_EQ(c.cboItem->count(), 0);
        });
        EXPECT_EQ(rowsOf(editor.flxLocations()), QStringList({"1|Front shelf|5|1||5|5", "2|Back store|5|2||5|5"}));
        saveWithRemark(editor, "Split sacks");
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    const qint32 id = lastReturnId(1);
    EXPECT_EQ(rows("select lidInterfaceId, lidShopId, lidDetailId, lidLocationId, lidItemId, lidItemQty "
                   "from losLocationIssueDetails where lidshopid = 1 and lidtransid = ? and lidInterfaceId = 1901 "
                   "order by lidDetailId",
                   {id}),
              QStringList({"1901|1|1|1|5|5", "1901|1|2|2|5|5"}));
}

SHOP_ON_ALL_BACKENDS(ReturnsByKeyboard);

} // namespace
} // namespace shop::test
