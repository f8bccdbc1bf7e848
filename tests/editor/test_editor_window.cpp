#include "EditorTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/HostComponents.h>
#include <rtnmod08/ModuleError.h>
#include "editor/EditorChildWindows.h"
#include "editor/frmStockDetails.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace shop::test {
namespace {

// One line as the item window confirms it, with its allocation rows.
struct ItemLine {
    QString itemId;
    QString description;
    QString returnQty;
    QList<QStringList> locations;
    QList<QStringList> expiry;
};

// The editor on its own, with a stand-in for the item window that writes lines the
// way the item window does: into the editor's lines and their allocation tables.
class EditorWindow : public EditorTest {
protected:
    ScriptedUiScope ui;
    ErrorTrackerScope errors;
    std::unique_ptr<frmStockDetails> editor;
    std::vector<ItemLine> toAdd;     // what the next Add writes, in turn
    QStringList itemWindowModes;     // the line mode each time the item window opened
    std::function<void(QDialog &)> onEdit;
    QStringList refreshed;           // the register rows the editor asked to refresh

    EditorWindow()
    {
        state().gstrMode = "N";
        EditorChildWindows::current().itemDetails = [](frmStockDetails &) { return itemWindow(); };
        ui->onWindow("frmItemDetails", [this](QDialog &w) { runItemWindow(w); });
    }
    void TearDown() override
    {
        editor.reset();
        EditorChildWindows::current() = {};
    }

    void open()
    {
        EntryRequest request;
        request.saved = [this](TransactionId id) { refreshed << id.text(); };
        editor = std::make_unique<frmStockDetails>(request);
        editor->Form_Load();
        editor->show();
    }
    const frmStockDetails::Controls &c() const { return editor->controls(); }
    QTreeWidget *list() const { return c().lvwStock; }

    static std::unique_ptr<QDialog> itemWindow()
    {
        auto w = std::make_unique<QDialog>();
        w->setObjectName("frmItemDetails");
        auto *item = new QComboBox(w.get());
        item->setObjectName("cboItem");
        for (const char *name : {"txtQuantity", "txtWriteQty", "txtBarcode"})
            (new QLineEdit(w.get()))->setObjectName(name);
        auto *barcode = new QPushButton(w.get());
        barcode->setObjectName("cmdbarcode");
        barcode->setEnabled(false);
        return w;
    }

    void runItemWindow(QDialog &w)
    {
        EntryLines &lines = editor->lines();
        itemWindowModes << (lines.lineMode == LineMode::Edit ? "E" : lines.lineMode == LineMode::Add ? "N" : "");
        if (lines.lineMode == LineMode::Edit && onEdit)
            onEdit(w);
        if (lines.lineMode == LineMode::Add && !toAdd.empty()) {
            const ItemLine l = toAdd.front();
            toAdd.erase(toAdd.begin());
            lines.add({"", "1", "CODE", l.description, "80.000", l.returnQty, "1", l.itemId, "6.5", "BAG"});
            for (const QStringList &r : l.locations)
                editor->flxLocations().addRow(r);
            for (const QStringList &r : l.expiry)
                editor->flxexpiry().addRow(r);
            lines.changed = true;
        }
        w.accept();
    }

    void addRiceAndMilk()
    {
        toAdd = {{"5", "Long grain rice 5 kg", "5", {{"1", "Front shelf", "5", "1", "", "0", "5"}}, {}},
                 {"1", "Fresh milk 1 L", "4", {{"1", "Cold room", "4", "3", "", "0", "1"}},
                  {{"1", "B1001", "11/12/2026", "4", "", "0", "1"}}}};
        QTest::keyClick(c().txtRemark, Qt::Key_F10);             // empty list: Add
        QTest::keyClick(list(), Qt::Key_Return, Qt::ControlModifier); // Add again
        ASSERT_EQ(list()->topLevelItemCount(), 2);
    }
};

TEST_P(EditorWindow, DeletingALineRemovesThatItemsAllocationsOnly)
{
    open();
    addRiceAndMilk();
    editor->flxserial().addRow({"1", "3", "SN-TV-0002", "1", "", "0"}); // a row of no line of this list

    list()->setCurrentItem(list()->topLevelItem(0));
    ui->answer(MsgAnswer::No);
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(ui->questions()[0].text, "Are you sure you want to delete \rLong grain rice 5 kg ?");
    EXPECT_EQ(ui->questions()[0].defaultAnswer, MsgAnswer::No);
    EXPECT_EQ(list()->topLevelItemCount(), 2) << "No keeps the line";

    ui->answer(MsgAnswer::Yes);
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(list()->topLevelItem(0)->text(0), "1");
    EXPECT_EQ(rowsOf(editor->flxLocations()), QStringList({"1|Cold room|4|3||0|1"}));
    EXPECT_EQ(rowsOf(editor->flxexpiry()), QStringList({"1|B1001|11/12/2026|4||0|1"}));

    ui->answer(MsgAnswer::Yes);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_FALSE(c().mnuEdit->isEnabled());
    EXPECT_FALSE(c().mnuDelete->isEnabled());
    EXPECT_FALSE(editor->flxLocations().hasData());
    EXPECT_FALSE(editor->flxexpiry().hasData());
    EXPECT_EQ(rowsOf(editor->flxserial()), QStringList({"1|3|SN-TV-0002|1||0|"}));
}

TEST_P(EditorWindow, PopupMenuAndToolTipsFollowTheListAndEditHandsTheLineToTheItemWindow)
{
    open();
    QWidget *viewport = list()->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_TRUE(c().mnuPopup->isVisible());
    EXPECT_TRUE(c().mnuAdd->isEnabled());
    EXPECT_FALSE(c().mnuEdit->isEnabled());
    EXPECT_FALSE(c().mnuDelete->isEnabled());
    c().mnuPopup->hide();

    addRiceAndMilk();
    EXPECT_EQ(list()->currentItem(), list()->topLevelItem(1)); // the line just added, so that F10 now edits it
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_TRUE(c().mnuEdit->isEnabled());
    EXPECT_TRUE(c().mnuDelete->isEnabled());
    c().mnuPopup->hide();
    toAdd = {{"5", "Long grain rice 5 kg", "1234.5", {}, {}}};
    c().mnuAdd->trigger();
    QTreeWidgetItem *line = list()->topLevelItem(2);
    editor->lvwStock_ItemClick(line);
    EXPECT_EQ(QStringList({line->toolTip(3), line->toolTip(4), line->toolTip(5)}),
              QStringList({"Long grain rice 5 kg", "80.000", "1,234.500"}));

    // The item window finds the line to change as the current line.
    onEdit = [this](QDialog &) {
        const EntryLines &lines = editor->lines();
        ASSERT_TRUE(lines.current().has_value());
        const QStringList &l = lines.at(*lines.current());
        EXPECT_EQ(l.at(line::Description) + "/" + l.at(line::ItemId) + "/" + l.at(line::AvailableQty) + "/"
                      + l.at(line::ReturnQty),
                  "Fresh milk 1 L/1/80.000/4");
    };
    list()->setCurrentItem(list()->topLevelItem(1));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, list()->visualItemRect(list()->topLevelItem(1)).center());
    QTest::keyClick(list(), Qt::Key_Return);
    QTest::keyClick(c().txtUserName, Qt::Key_F10);
    EXPECT_EQ(itemWindowModes, QStringList({"N", "N", "N", "E", "E", "E"}));

    // Edit with no line chosen ends in the error trap.
    list()->setCurrentItem(nullptr);
    editor->mnuEdit_Click();
    EXPECT_EQ(errors.routines(), QStringList({"mnuEdit_Click "}));
}

TEST_P(EditorWindow, ClosingAsksOnlyWhenSomethingChanged)
{
    open();
    c().txtRemark->setText("Crushed in transit");
    ui->answer(MsgAnswer::Cancel);
    QTest::mouseClick(c().cmdCancel, Qt::LeftButton);
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(ui->questions()[0].text, "Save Changes?");
    EXPECT_EQ(ui->questions()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(editor->isVisible());

    // Yes runs OK, which refuses an entry without items: the window stays.
    ui->answer(MsgAnswer::Yes);
    QTest::keyClick(c().txtUserName, Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(ui->messageTexts().value(0).startsWith("Details of at least one item must be entered."));

    ui->answer(MsgAnswer::No);
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(ui->questions().size(), 3u);
    EXPECT_EQ(count("select count(*) from LOsPurchaseReturnHeader"), 9);
}

TEST_P(EditorWindow, FailedSaveKeepsTheWindowOpenThenOkSavesAndRefreshesTheRegisterRow)
{
    open();
    c().txtRemark->setText("Crushed in transit");
    addRiceAndMilk();
    setStatementObserver(con(), [](const QString &kind, const QString &text) {
        if (kind == "procedure" && text.startsWith("spUpdateshopWriteoff"))
            throw ModuleError(-2147217900, "test", "deadlock victim");
    });
    QTest::mouseClick(c().cmdOK, Qt::LeftButton);
    setStatementObserver(con(), {});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(c().cmdOK->isEnabled());
    EXPECT_EQ(errors.routines(), QStringList({"cmdOK_Click "}));
    EXPECT_TRUE(refreshed.isEmpty());

    c().cmdOK->setFocus();
    QTest::keyClick(c().cmdOK, Qt::Key_Return); // Enter on the focused button presses it
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->strTransNo, "PR7");
    EXPECT_EQ(refreshed, QStringList({"8"}));
    EXPECT_EQ(count("select count(*) from losLocationIssueDetails where lidShopId = 1 and lidTransId = 8"), 2);
}

TEST_P(EditorWindow, InterDepartmentTypeShowsItsFieldsAndAliasNamesTheWindow)
{
    state().gstrTransType = "I";
    loginShop(2); // apartment code "L"
    con().execute("update aPackageSettings set alias = 1");
    open();
    EXPECT_EQ(editor->windowTitle(), "Vendor Purchase Return Details");
    EXPECT_EQ(c().lblPurchRetno->text(), "Return No");
    EXPECT_EQ(c().cbodepartment->count(), 3);
    EXPECT_EQ(c().cboApartmentNo->count(), 2);
    for (QWidget *w : std::initializer_list<QWidget *>{c().cbodepartment, c().cboApartmentNo, c().txtreceived,
                                                       c().txtapproved, c().lbldepartment})
        EXPECT_TRUE(w->isVisible()) << w->objectName();

    loginShop(1);
    open();
    EXPECT_TRUE(c().cbodepartment->isVisible());
    EXPECT_FALSE(c().cboApartmentNo->isVisible());
}

SHOP_ON_ALL_BACKENDS(EditorWindow);

} // namespace
} // namespace shop::test
