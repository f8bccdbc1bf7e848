#include "common/FlexGrid.h"
#include "common/GridRoutines.h"
#include "common/ModuleState.h"
#include "register/FrmMaster.h"
#include "register/ModuleWindows.h"
#include "register/RegisterChildWindows.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::ScriptedUiScope;
using shop::test::TestDatabase;

namespace {

class RegisterWindow : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    ScriptedUiScope ui;
    std::unique_ptr<FrmMaster> window;

    void TearDown() override { RegisterChildWindows::current() = {}; }

    FrmMaster &open(int user = 1, int shopId = 1, QDate date = QDate(2026, 12, 6), const QString &type = "P")
    {
        ModuleState &s = moduleState();
        s = ModuleState{};
        s.gadocon = db.con;
        s.gintUserID = user;
        s.gintShopID = shopId;
        s.gintCompanyID = 1;
        s.gdtProcessDate = date;
        s.gstrTransType = type;
        s.gstrMessageTitle = "Returns";
        window = std::make_unique<FrmMaster>();
        window->Form_Load();
        return *window;
    }
    FlexGrid &grid() { return window->grid(); }
    QPushButton *button(const char *name) { return window->findChild<QPushButton *>(name); }
    QString enabledButtons()
    {
        QString out;
        for (const char *name : {"cmdnew", "CmdEdit", "CmdDelete", "cmdPreview", "CmdClose"})
            out += button(name)->isEnabled() ? QString(name).mid(3, 1).toUpper() : QString("-");
        return out; // e.g. "NEDPC"
    }
    int rowOf(const QString &number)
    {
        for (int r = 1; r < grid().rows(); ++r)
            if (grid().textMatrix(r, 1) == number)
                return r;
        return -1;
    }
    void standOn(const QString &number) { grid().setRow(rowOf(number)); }
    QStringList numbers()
    {
        QStringList out;
        for (int r = 1; r < grid().rows(); ++r)
            out << grid().textMatrix(r, 1);
        return out;
    }
};

} // namespace

TEST_P(RegisterWindow, ListsTheShopsReturnsOfTheDateWindow)
{
    open();
    EXPECT_EQ(window->windowTitle(), "Shop Purchase Return");
    EXPECT_EQ(moduleState().gintInterfaceID, 1901);
    EXPECT_EQ(moduleState().gstrStockView, "vwInquiryShopStock");
    // 30 back days; the close date 45 days back is earlier and changes nothing.
    EXPECT_TRUE(moduleState().gstrListQuery.contains("whdate >= '20261106'")) << moduleState().gstrListQuery;
    EXPECT_EQ(numbers(), QStringList({"PR1", "PR2", "PR3", "PR4", "PR5", "PRX5"})); // PR6 went to another department
    EXPECT_EQ(grid().textMatrix(0, 1), "Return No");
    EXPECT_EQ(grid().colWidth(0), 0);
    for (int r = 1; r < grid().rows(); ++r)
        for (int c = 4; c <= 6; ++c)
            EXPECT_TRUE(grid().textMatrix(r, c) == "Yes" || grid().textMatrix(r, c) == "No") << r << "," << c;
    EXPECT_EQ(grid().textMatrix(rowOf("PR2"), 4), "Yes");
    EXPECT_EQ(grid().cellForeColor(rowOf("PR2"), 1), QColor(255, 0, 0));
    EXPECT_EQ(grid().cellForeColor(rowOf("PR2"), 5), grid().cellForeColor(rowOf("PR1"), 5));
}

TEST_P(RegisterWindow, LaterCloseDateStartsTheWindow)
{
    open(1, 2);
    EXPECT_TRUE(moduleState().gstrListQuery.contains("whdate >= '20261201'")) << moduleState().gstrListQuery;
    EXPECT_EQ(numbers(), QStringList({"BC1"}));
}

TEST_P(RegisterWindow, RightsDecideTheCommandsAndFollowTheRow)
{
    open(4); // no rights row
    standOn("PR1");
    EXPECT_EQ(enabledButtons(), "NEDPC");
    standOn("PR2"); // cancelled
    EXPECT_EQ(enabledButtons(), "NE-PC");
    standOn("PR3"); // posted
    EXPECT_EQ(enabledButtons(), "NE-PC");

    open(3); // ADMIN
    standOn("PR1");
    EXPECT_EQ(enabledButtons(), "----C");

    open(2); // NEP
    standOn("PR1");
    EXPECT_EQ(enabledButtons(), "NE-PC");
}

TEST_P(RegisterWindow, DeleteRefusesPostedAndConfirmedBeforeAskingTheDatabase)
{
    open();
    int statements = 0;
    db.con->setObserver([&](const QString &, const QString &) { ++statements; });
    standOn("PR3");
    window->CmdDelete_Click();
    standOn("PR4");
    window->CmdDelete_Click();
    EXPECT_EQ(statements, 0);
    db.con->setObserver({});
    EXPECT_EQ(ui->messageTexts(), QStringList({"Entry Posted,Cannot Delete", "Entry Confirmed,Cannot Delete"}));
    EXPECT_TRUE(ui->questions().empty());

    // A row cancelled since the list was filled is caught by the database check.
    db.con->execute("update LOsPurchaseReturnHeader set whcancelled = 1 where whshopid = 1 and whid = 5");
    ui->clearRecords();
    standOn("PR5");
    window->CmdDelete_Click();
    EXPECT_EQ(ui->messageTexts(), QStringList({"This entry is already deleted"}));
    EXPECT_FALSE(button("CmdDelete")->isEnabled());
}

TEST_P(RegisterWindow, DeleteAsksThenRefreshesTheRowFromTheDatabase)
{
    open();
    bool dialogShown = false;
    RegisterChildWindows::current().deletion = [](FrmMaster &) {
        auto dialog = std::make_unique<QDialog>();
        dialog->setObjectName("frmCancel");
        return dialog;
    };
    ui->onWindow("frmCancel", [&](QDialog &dialog) {
        dialogShown = true;
        db.con->execute("update LOsPurchaseReturnHeader set whcancelled = 1 where whshopid = 1 and whid = 1");
        dialog.accept();
    });
    standOn("PR1");
    ui->answer(MsgAnswer::No);
    window->CmdDelete_Click();
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(ui->questions()[0].text, "Are you sure want to delete the entry - PR1");
    EXPECT_EQ(ui->questions()[0].defaultAnswer, MsgAnswer::No);
    EXPECT_FALSE(dialogShown);

    ui->answer(MsgAnswer::Yes);
    window->CmdDelete_Click();
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(grid().textMatrix(rowOf("PR1"), 4), "Yes");
    EXPECT_EQ(grid().cellForeColor(rowOf("PR1"), 0), QColor(255, 0, 0));
    EXPECT_EQ(grid().row(), rowOf("PR1"));
    EXPECT_FALSE(button("CmdDelete")->isEnabled());
}

TEST_P(RegisterWindow, CancellingThroughTheDeletionDialogPaintsTheRow)
{
    open();
    installModuleWindows();
    ui->onWindow("frmCancel", [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("txtcanreason")->setText("damaged");
        dialog.findChild<QPushButton *>("cmdOK")->click();
    });
    standOn("PR5");
    ui->answer(MsgAnswer::Yes);
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_EQ(db.con->scalar("select whCancelledRemarks from LOsPurchaseReturnHeader where whshopid = 1 and whid = 5")
                  .toString(), "clerk:damaged");
    EXPECT_EQ(grid().row(), rowOf("PR5"));
    EXPECT_EQ(grid().textMatrix(rowOf("PR5"), 4), "Yes");
    EXPECT_EQ(grid().cellForeColor(rowOf("PR5"), 3), QColor(255, 0, 0));
    EXPECT_FALSE(button("CmdDelete")->isEnabled());
    EXPECT_EQ(db.con->scalar("select count(*) from losExpiryIssueDetails where eidShopId = 1 and eidTransactionId = 5 "
                             "and eidCancel = 1").toInt(), 1);
}

TEST_P(RegisterWindow, EmptyWindowThenFirstSaveFillsRowOne)
{
    open(1, 1, QDate(2027, 6, 1));
    EXPECT_EQ(grid().rows(), 2);
    EXPECT_TRUE(grid().textMatrix(1, 0).isEmpty());
    EXPECT_EQ(enabledButtons(), "N---C");
    db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, whcancelled, "
                    "whposted, Whtransfinished) values (1, 40, 'PR40', ?, 'clerk', 0, 0, 0)", {QDate(2027, 6, 1)});
    moduleState().gstrMode = "N";
    QString condition = " whID = 40";
    qint32 id = 40;
    UpdateEditedRow(grid(), condition, id);
    EXPECT_EQ(grid().rows(), 2);
    EXPECT_EQ(grid().textMatrix(1, 0), "40");
    EXPECT_EQ(grid().textMatrix(1, 1), "PR40");
}

TEST_P(RegisterWindow, SortsByIdForDatesAndFindsByPrefix)
{
    open();
    auto *sort = window->findChild<QComboBox *>("cboColNames");
    auto *search = window->findChild<QComboBox *>("cboSearch");
    auto *text = window->findChild<QLineEdit *>("txtsearch");
    // Order the rows by user first, so that a later sort by date visibly changes them.
    sort->setCurrentIndex(sort->findText("Done By"));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(grid().textMatrix(1, 3), "clerk");
    sort->setCurrentIndex(sort->findText("Return date"));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(numbers(), QStringList({"PR1", "PR2", "PR3", "PR4", "PR5", "PRX5"}));

    search->setCurrentIndex(search->findText("Return No"));
    QTest::keyClicks(text, "prx");
    EXPECT_EQ(grid().textMatrix(grid().row(), 1), "PRX5");

    standOn("PR1");
    text->setText("PR "); // trailing blank: a longer prefix ("PR1") is compared with "PR", nothing matches
    emit text->textEdited(text->text());
    EXPECT_EQ(grid().textMatrix(grid().row(), 1), "PR1");
    EXPECT_EQ(numbers(), QStringList({"PR1", "PR2", "PR3", "PR4", "PR5", "PRX5"}));

    search->setCurrentIndex(search->findText("Done By"));
    text->clear();
    QTest::keyClicks(text, "zz");
    EXPECT_EQ(grid().textMatrix(1, 3), "clerk"); // left sorted on the search column
}

TEST_P(RegisterWindow, KeysRunTheCommands)
{
    open();
    int editors = 0;
    RegisterChildWindows::current().editor = [&](FrmMaster &) {
        ++editors;
        auto dialog = std::make_unique<QDialog>();
        dialog->setObjectName("frmStockDetails");
        return dialog;
    };
    ui->onWindow("frmStockDetails", [](QDialog &d) { d.reject(); });
    standOn("PR1");
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(moduleState().gstrMode, "E");
    QTest::keyClick(&grid(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(moduleState().gstrMode, "N");
    EXPECT_EQ(editors, 2);
    ui->answer(MsgAnswer::No);
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_EQ(ui->questions().size(), 1u);
}

SHOP_ON_ALL_BACKENDS(RegisterWindow);
