#include "ItemWindowTestSupport.h"

#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnCancel.h"
#include "stock/StockBalances.h"

#include <QRegularExpression>

namespace shop::test {
namespace {

// Returns of items tracked by batch and by serial number, entered and changed from the
// keyboard through the register, the editor and the item window.
class TrackedReturns : public ClerkTest {
protected:
    void SetUp() override
    {
        // Milk on the front shelf too, so that its line can take from two locations.
        db.con->execute("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, "
                        "ladItemId, ladItemQty, ladCancel) values (1001, 3, 1, 1, 1, 10, 0)");
    }

    // The location split proposed for the quantity holds the whole line: Enter on the
    // first location and on its quantity accept it and move on.
    static void acceptSplit(frmItemDetails &w)
    {
        AllocationGrid &locations = w.locationGrid();
        ASSERT_EQ(focused(w), &locations.combo());
        enter(focused(w));
        ASSERT_EQ(focused(w), &locations.quantityBox());
        enter(focused(w));
        EXPECT_FALSE(locations.quantityBox().isVisible());
    }
    // Scans a label into the serial cell and presses Enter, as the scanner does.
    static void scanSerial(AllocationGrid &serials, const QString &label)
    {
        type(&serials.combo(), label);
        enter(&serials.combo());
    }
    // Milk 30 over two batches and two locations, three televisions, three phones.
    void enterTheReturn(frmItemDetails &w)
    {
        const auto &c = w.controls();
        AllocationGrid &batches = w.expiryGrid();
        AllocationGrid &serials = w.serialGrid();

        // Scan, quantity, Enter and Ok: the oldest batches go first, each within its balance.
        scan(w, "5012345000011");
        EXPECT_FALSE(batches.grid().isHidden());
        EXPECT_TRUE(serials.grid().isHidden());
        EXPECT_EQ(entries(batches), QStringList({"B1001", "B1002"}));
        writeOff(w, "30");
        EXPECT_EQ(gridRows(w.locationGrid(), 3), QStringList({"1|Front shelf|10.000", "2|Cold room|20.000"}));
        EXPECT_EQ(gridRows(batches, 4), QStringList({"1|B1001|11/12/2026|21", "2|B1002|15/12/2026|9"}));
        enter(c.cmdOK);
        ASSERT_EQ(c.cboItem->count(), 0) << ui->messageTexts().join(" / ");

        // Televisions by their labels: one not in stock and one read twice are refused.
        scan(w, "5012345000035");
        EXPECT_FALSE(serials.quantityBox().isEnabled());
        EXPECT_EQ(entries(serials).size(), 7);
        writeOff(w, "3");
        acceptSplit(w);
        ASSERT_EQ(focused(w), &serials.combo());
        scanSerial(serials, "SN-TV-0002");
        ASSERT_EQ(serials.dataRowCount(), 2) << "1 of 3: a row for the next scan";
        EXPECT_FALSE(serials.offeredEntries().contains("SN-TV-0002"));
        scanSerial(serials, "SN-TV-0099");
        scanSerial(serials, "SN-TV-0002");
        EXPECT_EQ(ui->messageTexts(),
                  QStringList({"Serial No SN-TV-0099 is not in stock", "This Serial No already entered"}));
        EXPECT_EQ(focused(w), &serials.combo());
        EXPECT_TRUE(serials.text(2, 2).isEmpty()) << "the cell waits for the next scan";
        scanSerial(serials, "SN-TV-0005");
        scanSerial(serials, "SN-TV-0007");
        EXPECT_EQ(gridRows(serials, 4), QStringList({"1||SN-TV-0002|1", "2||SN-TV-0005|1", "3||SN-TV-0007|1"}));
        EXPECT_EQ(focused(w), c.cmdOK) << "the line is whole: on to Ok";
        enter(c.cmdOK);

        scan(w, "PH-X1"); // the phone: a serial number may stand for several units
        EXPECT_TRUE(serials.quantityBox().isEnabled());
        writeOff(w, "3");
        acceptSplit(w);
        pick(serials, "IMEI-DUP");
        EXPECT_EQ(serials.text(1, 3), "2") << "its balance is proposed";
        enter(&serials.combo());
        serials.quantityBox().selectAll();
        type(&serials.quantityBox(), "3");
        EXPECT_EQ(ui->messageTexts().value(2), "Quantity cannot be greater than 2");
        enter(&serials.quantityBox());
        pick(serials, "IMEI-4403");
        enter(&serials.combo());
        enter(&serials.quantityBox());
        EXPECT_EQ(focused(w), c.cmdOK);
        enter(c.cmdOK);
        EXPECT_EQ(ui->messages().size(), 3u) << ui->messageTexts().join(" / ");
    }

    QStringList ledgers(qint32 id)
    {
        return rows("select lidInterfaceId, lidShopId, lidDetailId, lidLocationId, lidItemId, lidItemQty from "
                    "losLocationIssueDetails where lidShopId = 1 and lidTransId = ? and lidInterfaceId = 1901 "
                    "order by lidDetailId",
                    {id})
            + rows("select eidInterfaceId, eidShopId, eidDetailId, eidBatchNo, eidExpiryDate, eidItemId, eidItemQty "
                   "from losExpiryIssueDetails where eidShopId = 1 and eidTransactionId = ? and eidInterfaceId = 1901 "
                   "order by eidDetailId",
                   {id})
            + rows("select sidInterfaceId, sidShopId, sidDetailId, sidSerialNo, sidItemId, sidItemQty from "
                   "losSerialIssueDetails where sidShopId = 1 and sidTransactionId = ? and sidInterfaceId = 1901 "
                   "order by sidDetailId",
                   {id});
    }
    QStringList balancesOfTheItems()
    {
        StockBalances b(*db.con);
        QStringList out;
        for (qint32 item : {1, 3, 4}) {
            for (const auto &l : b.locations({1, item, {}}))
                out << QString("%1 L%2 %3").arg(item).arg(l.locationId).arg(l.quantity.toString(0));
            for (const auto &e : b.batches({1, item, {}}))
                out << QString("%1 %2 %3").arg(item).arg(e.batchNo, e.quantity.toString(0));
            for (const auto &s : b.serials({1, item, {}}))
                out << QString("%1 %2 %3").arg(item).arg(s.serialNo, s.quantity.toString(0));
        }
        return out;
    }
};

TEST_P(TrackedReturns, BatchesAndSerialsAreTakenStoredGivenBackOnEditAndOnCancel)
{
    open();
    const QStringList before = balancesOfTheItems();
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) { enterTheReturn(w); });
        EXPECT_EQ(editor.lines().count(), 3);
        saveWithRemark(editor, "Recall and faulty units");
        EXPECT_FALSE(editor.isVisible());
    });
    const qint32 id = lastReturnId(1);
    const QStringList stored = ledgers(id);
    EXPECT_EQ(stored,
              QStringList({"1901|1|1|1|1|10", "1901|1|2|3|1|20", "1901|1|3|1|3|3", "1901|1|4|1|4|3",
                           "1901|1|1|B1001|11/12/2026|1|21", "1901|1|2|B1002|15/12/2026|1|9",
                           "1901|1|1|SN-TV-0002|3|1", "1901|1|2|SN-TV-0005|3|1", "1901|1|3|SN-TV-0007|3|1",
                           "1901|1|4|IMEI-DUP|4|2", "1901|1|5|IMEI-4403|4|1"}));
    ui->clearRecords();

    const QString number =
        db.con->scalar("select WhNo from LOsPurchaseReturnHeader where whshopid = 1 and whid = ?", {id}).toString();
    load();
    editReturn(number, [&](frmStockDetails &editor) {
        editLine(editor, 0, [&](frmItemDetails &w) {
            EXPECT_EQ(w.transactionId().value(), id);
            // What the return took is offered again with what it took.
            EXPECT_EQ(entries(w.expiryGrid()), QStringList({"B1001", "B1002"}));
            EXPECT_EQ(gridRows(w.expiryGrid(), 4), QStringList({"1|B1001|11/12/2026|21", "2|B1002|15/12/2026|9"}));
            StockBalances b(*db.con);
            EXPECT_EQ(b.batch({1, 1, TransactionId(id)}, "B1001")->quantity.toString(0), "21");
            // The quantity confirmed again leaves the stored batches as they are.
            w.controls().txtWriteQty->setFocus();
            enter(w.controls().txtWriteQty);
            EXPECT_EQ(gridRows(w.expiryGrid(), 2), QStringList({"1|B1001", "2|B1002"}));
            for (int line = 0; line < 3; ++line) {
                if (line == 1) {
                    EXPECT_TRUE(entries(w.serialGrid()).contains("SN-TV-0005"));
                    EXPECT_EQ(entries(w.serialGrid()).size(), 7);
                    // A new row is offered what is left, its own serials aside.
                    AllocationGrid &serials = w.serialGrid();
                    serials.openCell(serials.rows().appendRow(), 2);
                    EXPECT_EQ(serials.offeredEntries().size(), 4);
                    EXPECT_FALSE(serials.offeredEntries().contains("SN-TV-0005"));
                    serials.rows().removeRow(4);
                }
                enter(w.controls().cmdOK);
            }
            EXPECT_FALSE(w.isVisible());
        });
        saveWithRemark(editor, "Recall and faulty units");
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    EXPECT_EQ(ledgers(id), stored) << "saved unchanged, every ledger row is as it was";

    ui->onWindow("frmCancel", [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("txtcanreason")->setText("entered twice");
        dialog.findChild<QPushButton *>("cmdOK")->click();
    });
    load();
    standOn(number);
    ui->answer(MsgAnswer::Yes);
    master->CmdDelete_Click();
    EXPECT_EQ(balancesOfTheItems(), before) << "a cancelled return gives every balance back";
}

TEST_P(TrackedReturns, WithoutLocationsScanQuantityEnterAndOkReturnOutOfDateMilkFirst)
{
    db.con->execute("update ashops set LocationArrangement = 0 where shopid = 1");
    db.con->execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, "
                    "eadShopId, eadItemId, eadItemQty, eadCancel) values (1001, 5, ?, 'B0999', 1, 1, 2, 0)",
                    {QDate(2026, 11, 30)});
    open();
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            AllocationGrid &batches = w.expiryGrid();
            scan(w, "5012345000011");
            EXPECT_TRUE(w.locationGrid().grid().isHidden());
            writeOff(w, "24");
            EXPECT_EQ(gridRows(batches, 4),
                      QStringList({"1|B0999|30/11/2026|2", "2|B1001|11/12/2026|21", "3|B1002|15/12/2026|1"}));
            // Out of date before the process date: marked in the grid and in the list.
            EXPECT_EQ(batches.rows().index(0, 2).data(Qt::ToolTipRole).toString(), "expired");
            EXPECT_FALSE(batches.rows().index(1, 2).data(Qt::ToolTipRole).isValid());
            EXPECT_EQ(focused(w), &batches.combo());
            EXPECT_EQ(batches.combo().itemData(0, Qt::DisplayRole).toString(), "B0999  (expired)");
            enter(w.controls().cmdOK);
            EXPECT_EQ(w.controls().cboItem->count(), 0);
        });
        saveWithRemark(editor, "Out of date");
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
    EXPECT_EQ(ledgers(lastReturnId(1)), QStringList({"1901|1|1|B0999|30/11/2026|1|2", "1901|1|2|B1001|11/12/2026|1|21",
                                                     "1901|1|3|B1002|15/12/2026|1|1"}));
}

TEST_P(TrackedReturns, ABatchThatArrivedTwiceIsListedTwiceAndASerialItemWithoutSerialsCannotGo)
{
    db.con->execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, "
                    "eadShopId, eadItemId, eadItemQty, eadCancel) values (1001, 4, ?, 'B1002', 1, 1, 5, 0)",
                    {QDate(2026, 12, 20)});
    db.con->execute("update losSerialArrivalDetails set sadCancel = 1 where sadItemId = 3 and sadShopId = 1");
    open();
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            scan(w, "5012345000011");
            EXPECT_EQ(entries(w.expiryGrid()), QStringList({"B1001", "B1002", "B1002"}));
            writeOff(w, "6");
            EXPECT_EQ(gridRows(w.expiryGrid(), 2), QStringList({"1|B1001"})) << "proposed once, the earlier date";
            acceptSplit(w);
            w.expiryGrid().setText(1, 3, "2");
            w.expiryGrid().rows().appendRow({"", "B1001", "11/12/2026", "4"});
            enter(w.controls().cmdOK);

            scan(w, "5012345000035");
            writeOff(w, "1");
            acceptSplit(w);
            enter(w.controls().cmdOK);
        });
        EXPECT_TRUE(editor.lines().isEmpty());
    });
    EXPECT_EQ(ui->messageTexts(), QStringList({"Batch No Duplication Found.", "Serial No not available \n"
                                               "Do Serial No verification before writing off this item.   ",
                                               "Serial No cannot be blank"}));
}

// A return of all three kinds of line, cut short by a crash after its last line, comes
// back when the register opens again and stores the rows the uninterrupted one stored.
TEST_P(TrackedReturns, AReturnCutShortByACrashIsOfferedBackAndStoresTheSameRows)
{
    open();
    const auto detailRows = [&](qint32 id) {
        return rows("select wditemid, wdpurchasereturnQty, wdavailableQty, wdcostprice from LOsPurchaseReturnDetail "
                    "where wdshopid = 1 and wdid = ? order by wditemid",
                    {id})
            + rows("select WhRemarks, WhUserName from LOsPurchaseReturnHeader where whshopid = 1 and whid = ?", {id});
    };
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) { enterTheReturn(w); });
        saveWithRemark(editor, "Recall and faulty units");
    });
    const qint32 uninterrupted = lastReturnId(1);
    const QStringList stored = ledgers(uninterrupted) + detailRows(uninterrupted);
    ASSERT_EQ(stored.size(), 11 + 4);
    PurchaseReturnCancel(*db.con, moduleSession()).cancel(TransactionId(uninterrupted), "", "entered twice", "t1");
    ui->clearRecords();

    load();
    QStringList allocations;
    newReturn([&](frmStockDetails &editor) {
        editor.controls().txtRemark->setText("Recall and faulty units");
        addLines(editor, [&](frmItemDetails &w) { enterTheReturn(w); });
        QCoreApplication::processEvents();
        allocations = rowsOf(editor.flxLocations()) + rowsOf(editor.flxexpiry()) + rowsOf(editor.flxserial());
        // The module dies here: the editor is never closed.
    });
    EXPECT_EQ(rows("select userid, shopid, line_count from shop_drafts"), QStringList({"1|1|3"}));
    ui->clearRecords();

    load();
    ui->answer(MsgAnswer::Yes);
    ui->onWindow("frmStockDetails", [&](QDialog &window) {
        auto &editor = static_cast<frmStockDetails &>(window);
        EXPECT_EQ(editor.lines().count(), 3);
        EXPECT_EQ(editor.controls().txtRemark->text(), "Recall and faulty units");
        EXPECT_EQ(rowsOf(editor.flxLocations()) + rowsOf(editor.flxexpiry()) + rowsOf(editor.flxserial()), allocations);
        QTest::mouseClick(editor.controls().cmdOK, Qt::LeftButton);
        EXPECT_FALSE(editor.isVisible());
    });
    master->offerDraft();
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_TRUE(QRegularExpression("^A purchase return that was not saved was found \\(3 lines, last changed at "
                                   "\\d\\d:\\d\\d\\)\\. Do you want to restore it\\?$")
                    .match(ui->questions()[0].text)
                    .hasMatch())
        << ui->questions()[0].text.toStdString();
    EXPECT_EQ(ui->questions()[0].defaultAnswer, MsgAnswer::Yes);
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ").toStdString();
    const qint32 restored = lastReturnId(1);
    EXPECT_NE(restored, uninterrupted);
    EXPECT_EQ(ledgers(restored) + detailRows(restored), stored);
    EXPECT_EQ(rows("select count(*) from shop_drafts"), QStringList({"0"})) << "the save took the draft with it";
}

SHOP_ON_ALL_BACKENDS(TrackedReturns);

} // namespace
} // namespace shop::test
