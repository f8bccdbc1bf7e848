#include "common/FlexGrid.h"
#include "common/ModuleState.h"
#include "editor/EditorChildWindows.h"
#include "editor/frmStockDetails.h"
#include "register/FrmMaster.h"
#include "register/ModuleWindows.h"
#include "register/RegisterChildWindows.h"
#include "common/ModuleError.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::ScriptedUiScope;
using shop::test::TestDatabase;

namespace {

// The register's New and Edit with the module's own editor, looked at while it is up.
class EditorFromRegister : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    ScriptedUiScope ui;
    std::unique_ptr<FrmMaster> master;
    frmStockDetails *editor = nullptr;

    void TearDown() override
    {
        RegisterChildWindows::current() = {};
        EditorChildWindows::current() = {};
    }

    void login(int user = 1, int shopId = 1)
    {
        ModuleState &s = moduleState();
        s = ModuleState{};
        s.gadocon = db.con;
        s.gintUserID = user;
        s.gintShopID = shopId;
        s.gintCompanyID = 1;
        s.gdtProcessDate = QDate(2026, 12, 6);
        s.gstrTransType = "P";
        s.gstrMessageTitle = "Returns";
        installModuleWindows();
        master = std::make_unique<FrmMaster>();
        master->Form_Load();
    }

    // Runs New or Edit (on the row of `number`) and hands the editor to `look` while it is shown.
    void open(const QString &number, const std::function<void(frmStockDetails &)> &look)
    {
        ui->onWindow("frmStockDetails", [&](QDialog &window) {
            editor = qobject_cast<frmStockDetails *>(&window);
            ASSERT_NE(editor, nullptr);
            look(*editor);
            window.reject();
        });
        if (number.isEmpty()) {
            master->cmdnew_Click();
            return;
        }
        FlexGrid &grid = master->grid();
        for (int r = 1; r < grid.rows(); ++r)
            if (grid.textMatrix(r, 1) == number)
                grid.setRow(r);
        ASSERT_EQ(grid.textMatrix(grid.row(), 1), number);
        master->CmdEdit_Click();
    }

    // The party types of the exchange-rate statements, in the order they ran.
    QString ratePartiesDuringNew()
    {
        static const QRegularExpression rateTable(QStringLiteral("from (\\w+) a, ExchangeRateDetail"));
        const QHash<QString, QString> party{{"asettings", "B"}, {"acompanymaster", "Z"}, {"aaccountmaster", "A"},
                                            {"adepartmentmaster", "D"}};
        QString parties;
        db.con->setObserver([&](const QString &, const QString &text) {
            const auto m = rateTable.match(text);
            if (m.hasMatch())
                parties += party.value(m.captured(1).toLower(), "?");
        });
        open({}, [](frmStockDetails &) {});
        db.con->setObserver({});
        return parties;
    }

    static QStringList lineTexts(const frmStockDetails &e)
    {
        QStringList lines;
        for (int i = 0; i < e.controls().lvwStock->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < 10; ++c)
                cells << e.controls().lvwStock->topLevelItem(i)->text(c);
            lines << cells.join('|');
        }
        return lines;
    }
    // Rows with numbers in their shortest form: the backends keep quantities differently.
    static QStringList tableRows(TextTable &table)
    {
        QStringList rows;
        for (int r = 1; r < table.rowCount(); ++r) {
            QStringList cells = table.row(r);
            for (QString &cell : cells) {
                bool number = false;
                const double value = cell.toDouble(&number);
                if (number)
                    cell = QString::number(value);
            }
            rows << cells.join('|');
        }
        return rows;
    }
};

} // namespace

TEST_P(EditorFromRegister, NewOpensAnEmptyEditorWithTheTransactionsRates)
{
    login();
    EXPECT_EQ(ratePartiesDuringNew(), "BZAAAD");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(moduleState().gstrExchangeRates, "1:4:-1:3.75:");
    EXPECT_EQ(moduleState().gintInventoryID, 100);
    EXPECT_EQ(moduleState().gintStockTransferAccID, 101);
    EXPECT_EQ(moduleState().gintShopDepartmentID, 10);
    EXPECT_TRUE(ui->questions().empty()) << "an untouched new entry closes without asking";

    login(1, 2); // no write-off account
    EXPECT_EQ(ratePartiesDuringNew(), "BZAAD");
    EXPECT_EQ(moduleState().gintShopDepartmentID, 11);
}

TEST_P(EditorFromRegister, NewDefaultsTheHeaderOfTheShopPurchaseReturn)
{
    login(2);
    open({}, [](frmStockDetails &e) {
        const auto &c = e.controls();
        EXPECT_EQ(e.windowTitle(), "Shop Purchase Return Details");
        EXPECT_EQ(c.txtProcessDate->text(), "06/12/2026");
        EXPECT_EQ(c.txtUserName->text(), "nina");
        EXPECT_TRUE(c.txtWriteNo->text().isEmpty());
        EXPECT_EQ(c.lvwStock->topLevelItemCount(), 0);
        EXPECT_TRUE(c.cmdOK->isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{c.cbodepartment, c.cboApartmentNo, c.txtreceived, c.txtapproved})
            EXPECT_TRUE(w->isHidden()) << w->objectName();
    });
    EXPECT_EQ(moduleState().gstrMode, "N");
}

TEST_P(EditorFromRegister, EditMergesTheDetailRowsOfAnItemAndLoadsItsAllocations)
{
    login();
    open("PR1", [&](frmStockDetails &e) {
        EXPECT_EQ(e.lngTransID, 1);
        EXPECT_EQ(e.controls().txtWriteNo->text(), "PR1");
        EXPECT_EQ(e.controls().txtRemark->text(), "Damaged packaging");
        EXPECT_EQ(e.controls().txtUserName->text(), "clerk");
        const QStringList lines = lineTexts(e);
        ASSERT_EQ(lines.size(), 2);
        // Rice was returned in two detail rows of 2 and 3.
        const QStringList rice = lines.filter(QRegularExpression("^\\d+\\|1\\| \\|Long grain")).value(0).split('|');
        ASSERT_EQ(rice.size(), 10) << lines.join('\n');
        EXPECT_EQ(rice.mid(5, 3), QStringList({"5.000", "1", "5"})) << lines.join('\n');
        EXPECT_EQ(rice.at(9), "BAG");
        EXPECT_TRUE(e.controls().lvwStock->topLevelItem(0)->textAlignment(5) & Qt::AlignRight)
            << "loaded lines take the stored alignment of their column";
        EXPECT_TRUE(e.controls().cmdOK->isEnabled());
        // The other module's issue under the same id stays out.
        EXPECT_EQ(tableRows(e.flxLocations()), QStringList({"1|Front shelf|5|1||0|5", "2|Cold room|4|3||0|1"}));
        EXPECT_EQ(tableRows(e.flxexpiry()).size(), 1);
        EXPECT_TRUE(tableRows(e.flxexpiry()).value(0).startsWith("1|B1001|11/12/2026|4|")) << tableRows(e.flxexpiry()).value(0);
        EXPECT_TRUE(tableRows(e.flxserial()).isEmpty());
    });
    EXPECT_TRUE(ui->messages().empty());
    EXPECT_TRUE(ui->questions().empty()) << "a loaded entry counts as unchanged";
}

TEST_P(EditorFromRegister, ShopWithoutLocationsLoadsOnlyExpiryAndSerialRows)
{
    login(1, 2);
    open("BC1", [&](frmStockDetails &e) {
        EXPECT_EQ(lineTexts(e).size(), 2);
        EXPECT_TRUE(tableRows(e.flxLocations()).isEmpty()); // despite its leftover location row
        EXPECT_EQ(tableRows(e.flxexpiry()).size(), 1);
        EXPECT_EQ(tableRows(e.flxserial()), QStringList({"1|3|SN-TV-0101|1||0|"}));
    });
}

TEST_P(EditorFromRegister, PostedEntryIsReadOnlyAndSaysWhy)
{
    login();
    db.con->execute("update LOsPurchaseReturnHeader set whposted = 1 where whshopid = 1 and whid = 3");
    QStringList itemWindows;
    EditorChildWindows::current().itemDetails = [](frmStockDetails &) {
        auto w = std::make_unique<QDialog>();
        w->setObjectName("frmItemDetails");
        return w;
    };
    ui->onWindow("frmItemDetails", [&](QDialog &w) {
        itemWindows << editor->strLineMode;
        w.reject();
    });
    open("PR3", [&](frmStockDetails &e) {
        const auto &c = e.controls();
        EXPECT_FALSE(c.cmdOK->isEnabled());
        QWidget *list = c.lvwStock->viewport();
        QTest::mouseClick(list, Qt::RightButton, {}, QPoint(20, 10));
        EXPECT_FALSE(c.mnuPopup->isVisible());
        EXPECT_FALSE(c.mnuAdd->isEnabled());
        QTest::mouseDClick(list, Qt::LeftButton, {}, QPoint(20, 10));
        EXPECT_TRUE(itemWindows.isEmpty()) << "no double-click action on a read-only entry";
        c.lvwStock->clear();
        QTest::keyClick(c.txtRemark, Qt::Key_F10);
        EXPECT_EQ(itemWindows, QStringList({"N"})) << "F10 on an empty list still adds";
    });
    ASSERT_EQ(ui->messages().size(), 2u);
    EXPECT_EQ(ui->messages()[0].text, "Entry Posted,Cannot Modify");
    EXPECT_EQ(ui->messages()[0].title, "");
    EXPECT_EQ(ui->messages()[1].text, "Entry posted to journal");
    EXPECT_EQ(ui->messages()[1].title, "Returns");
    EXPECT_TRUE(ui->questions().empty()) << "a read-only entry closes without asking";
}

TEST_P(EditorFromRegister, CancelledAndBackDatedEntries)
{
    login();
    open("PR2", [](frmStockDetails &e) { EXPECT_FALSE(e.controls().cmdOK->isEnabled()); });
    EXPECT_TRUE(ui->messages().empty());

    login(2); // NEP: may not change entries dated before the process date
    open("PR5", [](frmStockDetails &e) { EXPECT_FALSE(e.controls().cmdOK->isEnabled()); });
    login(1); // NEDPB
    open("PR5", [](frmStockDetails &e) { EXPECT_TRUE(e.controls().cmdOK->isEnabled()); });
    EXPECT_TRUE(ui->messages().empty());
}

TEST_P(EditorFromRegister, HeaderThatCannotBeReadIsReportedWithoutAnEditor)
{
    login();
    shop::test::ErrorTrackerScope errors;
    db.con->setObserver([](const QString &, const QString &text) {
        if (text.startsWith("Select * from LOsPurchaseReturnHeader"))
            throw ModuleError(3021, "test", "Either BOF or EOF is True");
    });
    master->grid().setRow(1);
    master->CmdEdit_Click();
    db.con->setObserver({});
    EXPECT_FALSE(ui->shownWindows().contains("frmStockDetails"));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].routine, "CmdEdit_Click ");
    EXPECT_EQ(errors.reports()[0].number, 3021);
}

TEST_P(EditorFromRegister, UnreadableAllocationTableIsReportedAndTheRestLoads)
{
    login();
    db.con->setObserver([](const QString &, const QString &text) {
        if (text.contains("FROM losExpiryIssueDetails"))
            throw ModuleError(-2147217865, "test", "Invalid object name 'losExpiryIssueDetails'.");
    });
    open("PR1", [](frmStockDetails &e) {
        EXPECT_EQ(e.controls().lvwStock->topLevelItemCount(), 2);
        EXPECT_EQ(e.flxLocations().dataRowCount(), 2);
        EXPECT_FALSE(e.flxexpiry().hasData());
    });
    db.con->setObserver({});
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, "Invalid object name 'losExpiryIssueDetails'.");
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui->messages()[0].title, "Returns");
}

TEST_P(EditorFromRegister, InterDepartmentEntryShowsItsDepartment)
{
    login();
    moduleState().gstrTransType = "I";
    master = std::make_unique<FrmMaster>();
    master->Form_Load();
    open("PR6", [](frmStockDetails &e) {
        EXPECT_TRUE(e.controls().cbodepartment->isVisible());
        EXPECT_EQ(e.controls().cbodepartment->currentText(), "Wholesale");
        EXPECT_EQ(e.controls().lblPurchRetno->text(), "Return No");
    });
}

TEST_P(EditorFromRegister, SavingAnEditRefreshesTheRegisterRow)
{
    login();
    open("PR1", [](frmStockDetails &e) {
        e.controls().txtRemark->setText("Torn bags");
        QTest::mouseClick(e.controls().cmdOK, Qt::LeftButton);
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(db.con->scalar("select WhRemarks from LOsPurchaseReturnHeader where whshopid = 1 and whid = 1").toString(),
              "Torn bags");
    EXPECT_EQ(db.con->scalar("select count(*) from LOsPurchaseReturnDetail where wdshopid = 1 and wdid = 1").toInt(), 2)
        << "the merged lines are stored one row per item";
}

SHOP_ON_ALL_BACKENDS(EditorFromRegister);
