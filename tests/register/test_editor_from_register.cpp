#include "RegisterTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/ModuleError.h>
#include "editor/frmStockDetails.h"
#include "printing/ModuleFolder.h"
#include "printing/TextPrintout.h"
#include "support/RecordingErrorTracker.h"
#include "support/RowText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

namespace shop::test {
namespace {

// The register's New and Edit with the module's own editor, looked at while it is up.
class EditorFromRegister : public RegisterTest {
protected:
    frmStockDetails *editor = nullptr;

    // Runs New (no number) or Edit on the row of `number`, and hands the editor to
    // `look` while it is shown.
    void showEditor(const QString &number, const std::function<void(frmStockDetails &)> &look = {})
    {
        ui->onWindow("frmStockDetails", [&](QDialog &window) {
            editor = qobject_cast<frmStockDetails *>(&window);
            ASSERT_NE(editor, nullptr);
            if (look)
                look(*editor);
            window.reject();
        });
        if (number.isEmpty())
            return master->cmdnew_Click();
        standOn(number);
        ASSERT_EQ(grid().textMatrix(grid().row(), 1), number);
        master->CmdEdit_Click();
    }

    // The party types of the exchange-rate statements that New runs, in their order.
    QString ratePartiesDuringNew(const std::function<void(frmStockDetails &)> &look = {})
    {
        static const QRegularExpression rateTable("from (\\w+) a, ExchangeRateDetail");
        const QHash<QString, QString> party{{"asettings", "B"}, {"acompanymaster", "Z"}, {"aaccountmaster", "A"},
                                            {"adepartmentmaster", "D"}};
        QString parties;
        setStatementObserver(*db.con, [&](const QString &, const QString &text) {
            const auto m = rateTable.match(text);
            if (m.hasMatch())
                parties += party.value(m.captured(1).toLower(), "?");
        });
        showEditor({}, look);
        setStatementObserver(*db.con, {});
        return parties;
    }

};

TEST_P(EditorFromRegister, NewOpensAnEmptyEditorWithTheShopsDefaultsAndRates)
{
    open(2);
    const QString parties = ratePartiesDuringNew([](frmStockDetails &e) {
        const auto &c = e.controls();
        EXPECT_EQ(c.txtProcessDate->text(), "06/12/2026");
        EXPECT_EQ(c.txtUserName->text(), "nina");
        EXPECT_TRUE(c.txtWriteNo->text().isEmpty());
        EXPECT_EQ(c.lvwStock->topLevelItemCount(), 0);
        EXPECT_TRUE(c.cmdOK->isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{c.cbodepartment, c.cboApartmentNo, c.txtreceived, c.txtapproved})
            EXPECT_TRUE(w->isHidden()) << w->objectName();
    });
    EXPECT_EQ(parties, "BZAAAD");
    const ModuleState &s = moduleState();
    EXPECT_EQ(s.gstrExchangeRates, "1:4:-1:3.75:");
    EXPECT_EQ(QList<qint32>({s.gintInventoryID, s.gintStockTransferAccID, s.gintShopDepartmentID}),
              QList<qint32>({100, 101, 10}));
    EXPECT_TRUE(ui->questions().empty()) << "an untouched new entry closes without asking";

    open(1, 2); // no write-off account
    EXPECT_EQ(ratePartiesDuringNew(), "BZAAD");
    EXPECT_EQ(moduleState().gintShopDepartmentID, 11);
}

// PR1 resaved with new remarks, after milk lost its unit and the rates changed: the lines
// load merged, the save keeps one row per item and the stock, and the printout stays.
TEST_P(EditorFromRegister, EditLoadsMergedLinesAllocationsAndDepartmentAndSavesOneRowPerItem)
{
    db.con->execute("update aItem set UnitsId = null where ItemId = 1");
    const auto printout = [&] {
        TextPrintout p(*db.con, 1, 99, 1); // a user without a line: no clock in the document
        p.readSettings(settingsFilePath());
        return QString::fromUtf8(p.PrintBill(TransactionId(1)));
    };
    const QString printedBefore = printout();
    ASSERT_TRUE(printedBefore.contains("200.000") && printedBefore.contains("39.93")) << printedBefore.toStdString();
    db.con->execute("update aItem set ItemRate = ItemRate * 3 where ItemId in (1, 5)");
    const QString stock = "select itemid, stock from mosShopStock where shopid = 1 and itemid in (1, 5) order by itemid";
    const QStringList stockBefore = rowsOf(*db.con, stock);
    open();
    showEditor("PR1", [&](frmStockDetails &e) {
        const auto &c = e.controls();
        EXPECT_EQ(e.transId().value(), 1);
        EXPECT_EQ(QStringList({c.txtWriteNo->text(), c.txtRemark->text(), c.txtUserName->text()}),
                  QStringList({"PR1", "Damaged packaging", "clerk"}));
        ASSERT_EQ(c.lvwStock->topLevelItemCount(), 2);
        // Rice was returned in two detail rows of 2 and 3.
        const QList<QTreeWidgetItem *> rice = c.lvwStock->findItems("Long grain rice 5 kg", Qt::MatchExactly, 3);
        ASSERT_EQ(rice.size(), 1);
        EXPECT_EQ(QStringList({rice[0]->text(1), rice[0]->text(2), rice[0]->text(5), rice[0]->text(6), rice[0]->text(7),
                               rice[0]->text(9)}),
                  QStringList({"1", " ", "5.000", "1", "5", "BAG"}));
        const QList<QTreeWidgetItem *> milk = c.lvwStock->findItems("1", Qt::MatchExactly, 7);
        ASSERT_EQ(milk.size(), 1);
        EXPECT_EQ(milk[0]->text(9), "") << "an item without a unit keeps its line";
        EXPECT_TRUE(c.lvwStock->topLevelItem(0)->textAlignment(5) & Qt::AlignRight)
            << "loaded lines take the stored alignment of their column";
        // The other module's issue under the same id stays out.
        EXPECT_EQ(rowsOf(e.flxLocations()), QStringList({"1|Front shelf|5|1||0|5", "2|Cold room|4|3||0|1"}));
        ASSERT_EQ(rowsOf(e.flxexpiry()).size(), 1);
        EXPECT_TRUE(rowsOf(e.flxexpiry())[0].startsWith("1|B1001|11/12/2026|4|")) << rowsOf(e.flxexpiry())[0];
        EXPECT_TRUE(rowsOf(e.flxserial()).isEmpty());

        c.txtRemark->setText("Torn bags");
        QTest::mouseClick(c.cmdOK, Qt::LeftButton);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
    EXPECT_EQ(db.con->scalar("select WhRemarks from LOsPurchaseReturnHeader where whshopid = 1 and whid = 1").toString(),
              "Torn bags");
    EXPECT_EQ(rowsOf(*db.con, "select WdItemID, WdPurchaseReturnQty from LOsPurchaseReturnDetail "
                              "where wdshopid = 1 and wdid = 1 order by WdItemID"),
              QStringList({"1|4", "5|5"}));
    EXPECT_EQ(rowsOf(*db.con, stock), stockBefore);
    EXPECT_EQ(printout(), QString(printedBefore).replace("Damaged packaging", "Torn bags"));

    open(1, 2);
    showEditor("BC1", [&](frmStockDetails &e) {
        EXPECT_EQ(e.controls().lvwStock->topLevelItemCount(), 2);
        EXPECT_TRUE(rowsOf(e.flxLocations()).isEmpty()); // despite its leftover location row
        EXPECT_EQ(rowsOf(e.flxexpiry()).size(), 1);
        EXPECT_EQ(rowsOf(e.flxserial()), QStringList({"1|3|SN-TV-0101|1||0|"}));
    });
    EXPECT_TRUE(ui->questions().empty()) << "a loaded entry counts as unchanged";

    open(1, 1, "I");
    showEditor("PR6", [](frmStockDetails &e) {
        EXPECT_TRUE(e.controls().cbodepartment->isVisible());
        EXPECT_EQ(e.controls().cbodepartment->currentText(), "Wholesale");
    });
}

TEST_P(EditorFromRegister, PostedCancelledAndBackDatedEntriesAreReadOnly)
{
    open();
    db.con->execute("update LOsPurchaseReturnHeader set whposted = 1 where whshopid = 1 and whid = 3");
    ui->onWindow("frmItemDetails", [&](QDialog &w) { w.reject(); });
    showEditor("PR3", [&](frmStockDetails &e) {
        const auto &c = e.controls();
        EXPECT_FALSE(c.cmdOK->isEnabled());
        QWidget *list = c.lvwStock->viewport();
        QTest::mouseClick(list, Qt::RightButton, {}, QPoint(20, 10));
        EXPECT_FALSE(c.mnuPopup->isVisible());
        // A read-only entry's line can still be looked at in the item window.
        QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(20, 10));
        EXPECT_EQ(e.lines().lineMode, LineMode::Edit);
        e.lines().lineMode.reset();
        QTest::keyClick(c.lvwStock, Qt::Key_Return);
        EXPECT_EQ(e.lines().lineMode, LineMode::Edit);
        e.lines().clear();
        e.lines().lineMode.reset();
        QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(20, 10)); // nothing to look at, nothing to add
        QTest::keyClick(c.lvwStock, Qt::Key_Return);
        EXPECT_FALSE(e.lines().lineMode.has_value());
        QTest::keyClick(c.txtRemark, Qt::Key_F10); // an empty list still adds
        EXPECT_EQ(e.lines().lineMode, LineMode::Add);
    });
    EXPECT_EQ(ui->messageTexts(), QStringList({"Entry Posted,Cannot Modify", "Entry posted to journal"}));
    // Double click and Enter show the line; F10 on the emptied list adds.
    EXPECT_EQ(ui->shownWindows().count("frmItemDetails"), 3);
    EXPECT_TRUE(ui->questions().empty()) << "a read-only entry closes without asking";

    ui->clearRecords(); // a cancelled entry and back-dated ones say nothing
    showEditor("PR2", [](frmStockDetails &e) { EXPECT_FALSE(e.controls().cmdOK->isEnabled()); });
    open(2); // NEP: may not change entries dated before the process date
    showEditor("PR5", [](frmStockDetails &e) { EXPECT_FALSE(e.controls().cmdOK->isEnabled()); });
    open(1); // NEDPB
    showEditor("PR5", [](frmStockDetails &e) { EXPECT_TRUE(e.controls().cmdOK->isEnabled()); });
    db.con->execute("update LOsPurchaseReturnHeader set WhDate = ? where whshopid = 1 and whid = 1", {QDate(2026, 12, 6)});
    open(4); // no rights row: every command, but not the right to change back-dated entries
    EXPECT_FALSE(master->fnUserRights("B"));
    EXPECT_TRUE(button("CmdEdit")->isEnabled());
    showEditor("PR5", [](frmStockDetails &e) { EXPECT_FALSE(e.controls().cmdOK->isEnabled()); });
    showEditor("PR1", [](frmStockDetails &e) { EXPECT_TRUE(e.controls().cmdOK->isEnabled()); });
    EXPECT_TRUE(ui->messages().empty());
}

TEST_P(EditorFromRegister, UnreadableHeaderOpensNoEditorAndUnreadableAllocationsLetTheRestLoad)
{
    open();
    {
        ErrorTrackerScope errors;
        setStatementObserver(*db.con, [](const QString &, const QString &text) {
            if (text.startsWith("Select * from LOsPurchaseReturnHeader"))
                throw ModuleError(3021, "test", "Either BOF or EOF is True");
        });
        standOn("PR1");
        master->CmdEdit_Click();
        EXPECT_TRUE(ui->shownWindows().isEmpty());
        EXPECT_EQ(errors.routines(), QStringList({"CmdEdit_Click "}));
    }
    ui->clearRecords();

    setStatementObserver(*db.con, [](const QString &, const QString &text) {
        if (text.contains("FROM losExpiryIssueDetails"))
            throw ModuleError(-2147217865, "test", "Invalid object name 'losExpiryIssueDetails'.");
    });
    showEditor("PR1", [](frmStockDetails &e) {
        EXPECT_EQ(e.controls().lvwStock->topLevelItemCount(), 2);
        EXPECT_EQ(e.flxLocations().dataRowCount(), 2);
        EXPECT_FALSE(e.flxexpiry().hasData());
    });
    setStatementObserver(*db.con, {});
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, "Invalid object name 'losExpiryIssueDetails'.");
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Critical);
}

TEST_P(EditorFromRegister, ResavingKeepsEveryStoredAllocationTextAndTheBatchBalances)
{
    // Batch and serial numbers as another terminal stored them: blanks around them and a
    // batch number that looks like a date. The arrivals carry the same texts.
    db.con->execute("update losExpiryIssueDetails set eidBatchNo = ' 2026-12-10 ' where eidShopId = 2");
    db.con->execute("update losExpiryArrivalDetails set eadBatchNo = ' 2026-12-10 ' where eadShopId = 2");
    db.con->execute("update losSerialIssueDetails set sidSerialNo = '  SN-TV-0101 ' where sidShopId = 2");
    db.con->execute("update losSerialArrivalDetails set sadSerialNo = '  SN-TV-0101 ' "
                    "where sadShopId = 2 and sadSerialNo = 'SN-TV-0101'");
    const QString ledgers = "select eidDetailId, eidExpiryDate, '[' || eidBatchNo || ']', eidItemId, eidItemQty, "
                            "eidPackingTypeId, eidPackingQty from losExpiryIssueDetails where eidShopId = 2 "
                            "union all select sidDetailId, null, '[' || sidSerialNo || ']', sidItemId, sidItemQty, "
                            "sidPackingTypeId, sidPackingQty from losSerialIssueDetails where sidShopId = 2";
    const QString balances =
        "select eadBatchNo, eadExpiryDate, sum(eadItemQty) - (select coalesce(sum(eidItemQty), 0) "
        "from losExpiryIssueDetails where eidCancel = 0 and eidShopId = eadShopId and eidItemId = eadItemId "
        "and eidBatchNo = eadBatchNo and eidExpiryDate = eadExpiryDate) from losExpiryArrivalDetails "
        "where eadShopId = 2 group by eadShopId, eadItemId, eadBatchNo, eadExpiryDate "
        "union all select sadSerialNo, null, sum(sadItemQty) - (select coalesce(sum(sidItemQty), 0) "
        "from losSerialIssueDetails where sidCancel = 0 and sidShopId = sadShopId and sidItemId = sadItemId "
        "and sidSerialNo = sadSerialNo) from losSerialArrivalDetails where sadShopId = 2 "
        "group by sadShopId, sadItemId, sadSerialNo";
    const auto sortedRows = [&](const QString &statement) {
        QStringList r = rowsOf(*db.con, statement);
        r.sort();
        return r;
    };
    const QStringList ledgersBefore = sortedRows(ledgers);
    const QStringList balancesBefore = sortedRows(balances);
    ASSERT_TRUE(ledgersBefore.join(' ').contains("[ 2026-12-10 ]")) << ledgersBefore.join('\n').toStdString();

    open(1, 2);
    showEditor("BC1", [&](frmStockDetails &e) {
        e.controls().txtRemark->setText("Leaking cartons, two of them");
        QTest::mouseClick(e.controls().cmdOK, Qt::LeftButton);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
    EXPECT_EQ(db.con->scalar("select WhRemarks from LOsPurchaseReturnHeader where whshopid = 2 and whid = 1").toString(),
              "Leaking cartons, two of them");
    EXPECT_EQ(sortedRows(ledgers), ledgersBefore);
    EXPECT_EQ(sortedRows(balances), balancesBefore);
}

SHOP_ON_ALL_BACKENDS(EditorFromRegister);

} // namespace
} // namespace shop::test
