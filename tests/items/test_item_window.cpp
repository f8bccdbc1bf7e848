#include "ItemWindowTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include "common/core/AllocationColumns.h"
#include <rtnmod08/ModuleError.h>
#include "support/RecordingErrorTracker.h"

#include <QTableWidget>

namespace shop::test {
namespace {

class ItemWindow : public ClerkTest {
protected:
    // The item window alone on the lines of a new return of the shop.
    void alone(qint32 shop, const ItemSession &work)
    {
        open(1, shop);
        moduleState().gstrMode = "N";
        EntryLines lines;
        lines.lineMode = LineMode::Add;
        frmItemDetails w(lines, TransactionId());
        w.Form_Load();
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        work(w);
        standalone = lines.lines();
    }
    QList<ItemLine> standalone;
};

TEST_P(ItemWindow, CodesThatNameNoItemInStockAreRefusedAndLeaveTheWindowEmpty)
{
    alone(2, [&](frmItemDetails &w) {
        const auto &c = w.controls();
        type(c.txtBarcode, "O'IL");
        EXPECT_EQ(c.txtBarcode->text(), "OIL") << "an apostrophe cannot be typed";
        c.txtBarcode->clear();
        scan(w, "5012345000097"); // an inactive barcode
        scan(w, "5012345000073"); // cement is of type B, this shop deals in the others
        EXPECT_EQ(focused(w), c.txtBarcode);
        scan(w, "5012345000103"); // tea has no stock in Bowmore Corner
        EXPECT_EQ(c.cboItem->count(), 0);
        EXPECT_TRUE(c.txtBarcode->text().isEmpty());
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ui->messageTexts(), QStringList({"Scan valid barcode", "Scan valid barcode",
                                               "No Stock Available For This Item.", "No Item Selected."}));
    EXPECT_TRUE(standalone.isEmpty());
}

TEST_P(ItemWindow, AScanReadsTheItemInOneStatementAndTheListsItShowsInAnother)
{
    alone(1, [&](frmItemDetails &w) {
        QStringList ran;
        setStatementObserver(*db.con, [&](const QString &kind, const QString &text) { ran << kind + ' ' + text.left(40); });
        const auto scanned = [&](const QString &code) {
            ran.clear();
            scan(w, code);
            return ran.size();
        };
        // The item with its facts, description and stock; then its serials and locations.
        EXPECT_EQ(scanned("5012345000035"), 2) << ran.join('\n').toStdString();
        EXPECT_EQ(w.serialGrid().entries().size(), 7);
        EXPECT_EQ(w.controls().txtQuantity->text().toDouble(), 7);
        const int prepared = statementsPrepared(*db.con);
        EXPECT_EQ(scanned("5012345000011"), 2) << "milk: the item, then its batches and locations";
        EXPECT_EQ(w.expiryGrid().entries(), QStringList({"B1001", "B1002"}));
        EXPECT_EQ(scanned("5012345000035"), 2);
        EXPECT_EQ(statementsPrepared(*db.con), prepared + 1) << "only milk's pair of lists is new";
        setStatementObserver(*db.con, {});
    });
    EXPECT_TRUE(ui->messageTexts().isEmpty()) << ui->messageTexts().join(" / ").toStdString();
}

TEST_P(ItemWindow, WriteOffQuantityIsCheckedAgainstTheStockAndTheIntegerSetting)
{
    alone(2, [&](frmItemDetails &w) {
        const auto &c = w.controls();
        scan(w, "5012345000059"); // rice, 40 in stock
        type(c.txtWriteQty, "-41");
        EXPECT_EQ(c.txtWriteQty->text(), "41") << "a negative quantity turns positive";
        EXPECT_EQ(c.txtWriteQty->toolTip(), "41.000");
        enter(c.txtWriteQty);
        c.txtWriteQty->setText("99999999999999999999"); // too large to count exactly, above the stock all the same
        enter(c.txtWriteQty);
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
        c.txtWriteQty->setText("0");
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
        c.txtWriteQty->setText("40.001");
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);

        moduleState().gblnIntegerQuantity = true;
        c.txtWriteQty->setText("2");
        c.txtWriteQty->end(false);
        type(c.txtWriteQty, ".");
        EXPECT_EQ(c.txtWriteQty->text(), "2");
        c.txtWriteQty->setText("2.5"); // pasted
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
        c.txtWriteQty->setText("40");
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);

        scan(w, "5012345000059");
        writeOff(w, "1");
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
        EXPECT_EQ(focused(w), c.txtBarcode);
        scan(w, "5012345000059");
        c.cboItem->setCurrentIndex(-1);
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ui->messageTexts(),
              QStringList({"Writeoff quantity should not exceed  40.   ", "Writeoff quantity should not exceed  40.   ",
                           "Quantity should not exceed  40.   ", "Enter purchase return quantity.   ",
                           "Quantity should not exceed  40.   ", "Only Integer Quantity is allowed",
                           "Only Integer Quantity is allowed", "Item already exists", "Select item.   "}));
    ASSERT_EQ(standalone.size(), 1);
    EXPECT_EQ(standalone[0], QStringList({"1", "1", "RICE-5", "Long grain rice 5 kg", "40.000", "40", "1", "5", "6.5", "BAG"}));
}

TEST_P(ItemWindow, OkRefusesASerialTwiceAndLocationsThatDoNotHoldTheLine)
{
    alone(1, [&](frmItemDetails &w) {
        scan(w, "5012345000035"); // the television, one unit per serial number
        writeOff(w, "2");
        AllocationGrid &serials = w.serialGrid();
        QList<QStringList> twice(2, QStringList(serials.layout().headers.size()));
        for (QStringList &row : twice) {
            row[serialcol::SerialNo] = "SN-TV-0002";
            row[serialcol::Quantity] = "1";
        }
        serials.setDataRows(twice);
        QTest::mouseClick(w.controls().cmdOK, Qt::LeftButton);
        twice[1][serialcol::SerialNo] = "SN-TV-0003";
        serials.setDataRows(twice);
        w.locationGrid().setText(1, locationcol::Quantity, "1");
        QTest::mouseClick(w.controls().cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(ui->messageTexts(), QStringList({"Serial Number duplication found.",
                                               "The sum of  Location Quantity and  Write Off quantity must be equal.   "}));
    EXPECT_TRUE(standalone.isEmpty());
}

TEST_P(ItemWindow, TheFetchShowsTheTradeCountersTypeBStockAndLoadsTheChosenItem)
{
    alone(3, [&](frmItemDetails &w) {
        ui->onWindow("frmFetch", [](QDialog &fetch) {
            auto *grid = fetch.findChild<QTableWidget *>("grdFetch");
            ASSERT_NE(grid, nullptr);
            QStringList codes;
            for (int r = 0; r < grid->rowCount(); ++r)
                codes << grid->item(r, 1)->text();
            codes.sort();
            EXPECT_EQ(codes, QStringList({"ADH-5", "CEM-25"}));
            auto *search = fetch.findChild<QLineEdit *>("txtSearch");
            QTest::keyClicks(search, "Cem");
            QTest::mouseClick(fetch.findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        });
        QTest::keyClick(w.controls().txtWriteQty, Qt::Key_F3);
        EXPECT_EQ(w.controls().cboItem->currentText(), "Cement 25 kg");
        EXPECT_EQ(w.controls().txtQuantity->text(), "100");
        EXPECT_EQ(focused(w), w.controls().cboItem);
        enter(w.controls().cboItem);
        EXPECT_EQ(focused(w), w.controls().txtWriteQty);
    });
    EXPECT_TRUE(ui->messages().empty());
}

TEST_P(ItemWindow, QuantitiesAreSplitAndSummedExactly)
{
    alone(1, [&](frmItemDetails &w) {
        AllocationGrid &locations = w.locationGrid();
        scan(w, "5012345000059");
        writeOff(w, "0.3");
        EXPECT_EQ(gridRows(locations, 3), QStringList({"1|Front shelf|0.300"}));
        enter(&locations.combo());
        locations.quantityBox().selectAll();
        type(&locations.quantityBox(), "0.1");
        enter(&locations.quantityBox());
        ASSERT_EQ(locations.dataRowCount(), 2) << "0.1 of 0.3: a row for the rest";
        pick(locations, "Back store");
        EXPECT_EQ(locations.text(2, 2), "0.2") << "the pick proposes what is missing";
        enter(&locations.combo());
        enter(&locations.quantityBox());
        EXPECT_EQ(focused(w), w.controls().cmdOK);
        enter(w.controls().cmdOK);
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    ASSERT_EQ(standalone.size(), 1);
}

TEST_P(ItemWindow, EditingTheMiddleOfThreeLinesReplacesItAndStepsToTheNextAndTheLastCloses)
{
    db.con->execute("insert into ashopitemDetail (itemid, shopid, shortcutno) values (6, 2, '16')");
    db.con->execute("insert into mosShopStock (itemid, shopid, stock) values (10, 2, 5)");
    open(1, 2);
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            for (const auto &[code, quantity] : {std::pair{"5012345000059", "3"}, {"16", "2"}, {"TEA-100", "1"}}) {
                scan(w, code);
                writeOff(w, quantity);
                enter(w.controls().cmdOK);
            }
        });
        const QList<ItemLine> before = editor.lines().lines();
        ASSERT_EQ(before.size(), 3);
        bool closedAtLast = false;
        editLine(editor, 1, [&](frmItemDetails &w) {
            const auto &c = w.controls();
            EXPECT_EQ(c.cboItem->currentText(), "White sugar 1 kg");
            EXPECT_EQ(c.txtWriteQty->text(), "2");
            for (const auto &[button, shows] : {std::pair{c.cmdLast, "Breakfast tea 100 bags 'Highland'"},
                                                {c.cmdPrev, "White sugar 1 kg"},
                                                {c.cmdFirst, "Long grain rice 5 kg"},
                                                {c.cmdNext, "White sugar 1 kg"}}) {
                QTest::mouseClick(button, Qt::LeftButton);
                EXPECT_EQ(c.cboItem->currentText(), shows) << button->objectName().toStdString();
            }
            for (QWidget *off : std::initializer_list<QWidget *>{c.cboItem, c.txtBarcode, c.cmdbarcode})
                EXPECT_FALSE(off->isEnabled()) << off->objectName();
            for (QWidget *on : std::initializer_list<QWidget *>{c.cmdFirst, c.cmdPrev, c.cmdNext, c.cmdLast})
                EXPECT_TRUE(on->isEnabled()) << on->objectName();
            c.txtWriteQty->setText("4");
            enter(c.cmdOK);
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(c.cboItem->currentText(), "Breakfast tea 100 bags 'Highland'") << "on to line 3";
            EXPECT_FALSE(c.cmdNext->isEnabled());
            EXPECT_FALSE(c.cmdLast->isEnabled());
            c.txtWriteQty->setText("2");
            enter(c.cmdOK);
            closedAtLast = !w.isVisible();
        });
        EXPECT_TRUE(closedAtLast);
        const QList<ItemLine> after = editor.lines().lines();
        ASSERT_EQ(after.size(), 3);
        EXPECT_EQ(after[0], before[0]);
        EXPECT_EQ(after[1].value(line::Description), "White sugar 1 kg");
        EXPECT_EQ(after[1].value(line::ReturnQty), "4");
        EXPECT_EQ(after[2].value(line::ReturnQty), "2");
        EXPECT_TRUE(editor.lines().changed);
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
}

TEST_P(ItemWindow, AStoredLineMayKeepItsQuantityWhenTheShopHoldsLessThanItNow)
{
    db.con->execute("update mosShopStock set stock = 3 where itemid = 5 and shopid = 1");
    open();
    editReturn("PR1", [&](frmStockDetails &editor) {
        const auto rice = editor.lines().findItem("5");
        ASSERT_TRUE(rice);
        editLine(editor, *rice, [&](frmItemDetails &w) {
            EXPECT_EQ(w.transactionId().value(), 1);
            EXPECT_EQ(w.controls().txtQuantity->text(), "8") << "3 in the shop and the 5 this return took";
            EXPECT_EQ(gridRows(w.locationGrid(), 4), QStringList({"1|Front shelf|5.000|1"}));
            enter(w.controls().cmdOK);
        });
        saveWithRemark(editor, "Damaged packaging");
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    EXPECT_EQ(rows("select lidDetailId, lidLocationId, lidItemId, lidItemQty from losLocationIssueDetails "
                   "where lidInterfaceId = 1901 and lidShopId = 1 and lidTransId = 1 order by lidDetailId"),
              QStringList({"1|3|1|4", "2|1|5|5"}));
}

TEST_P(ItemWindow, AReturnNumberedPastSixteenBitsIsEditedWithItsOwnQuantityAvailable)
{
    db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, WhRemarks, "
                    "whcancelled, whposted, Whtransfinished, whdepartmentid, whtype) "
                    "values (2, 40000, 'BC40000', ?, 'clerk', 'Late', 0, 0, 0, 11, 'P')",
                    {QDate(2026, 12, 6)});
    db.con->execute("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdAvailableQty, "
                    "WdPurchaseReturnQty, wdshipmentid, wdcostprice) values (2, 40000, 5, 42, 2, 1, 6.5)");
    open(1, 2);
    editReturn("BC40000", [&](frmStockDetails &editor) {
        editLine(editor, 0, [&](frmItemDetails &w) {
            EXPECT_EQ(w.transactionId().value(), 40000);
            EXPECT_EQ(w.controls().txtQuantity->text(), "42");
            w.controls().txtWriteQty->setText("42");
            enter(w.controls().cmdOK);
            EXPECT_FALSE(w.isVisible());
        });
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
}

TEST_P(ItemWindow, ABalanceThatCannotBeReadIsReportedAndTheWindowStaysAsItWas)
{
    ErrorTrackerScope errors;
    alone(1, [&](frmItemDetails &w) {
        scan(w, "5012345000011");
        writeOff(w, "2");
        enter(focused(w));
        enter(focused(w));
        AllocationGrid &batches = w.expiryGrid();
        ASSERT_EQ(focused(w), &batches.combo());
        batches.reset(); // the proposal aside: the clerk picks
        batches.enterGrid();
        setStatementObserver(*db.con, [](const QString &, const QString &text) {
            if (text.contains("eadbatchno= ?"))
                throw ModuleError(-2147217865, "test", "Invalid object name 'losExpiryIssueDetails'.");
        });
        QTest::keyClick(&batches.combo(), Qt::Key_Down);
        setStatementObserver(*db.con, {});
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(batches.text(1, 2).isEmpty()) << "no expiry date without its balance";
    });
    EXPECT_EQ(errors.routines(), QStringList({"cbobatchno_Click"}));
}

SHOP_ON_ALL_BACKENDS(ItemWindow);

} // namespace
} // namespace shop::test
