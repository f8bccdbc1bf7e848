#include "RegisterTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include "common/routines/GridRoutines.h"
#include "support/RecordingErrorTracker.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace shop::test {
namespace {

class RegisterWindow : public RegisterTest {
protected:
    QString enabledButtons()
    {
        QString out;
        for (const char *name : {"cmdnew", "CmdEdit", "CmdDelete", "cmdPreview", "CmdClose"})
            out += button(name)->isEnabled() ? QString(name).mid(3, 1).toUpper() : QString("-");
        return out; // e.g. "NEDPC"
    }
};

TEST_P(RegisterWindow, ListsTheShopsReturnsOfTheDateWindow)
{
    open();
    // 30 back days; the close date 45 days back is earlier and changes nothing.
    EXPECT_TRUE(moduleState().gstrListQuery.contains("whdate >= '20261106'")) << moduleState().gstrListQuery;
    EXPECT_EQ(numbers(), QStringList({"PR1", "PR2", "PR3", "PR4", "PR5", "PRX5"})); // PR6 went to another department
    for (int r = 1; r < grid().rows(); ++r)
        for (int c = 4; c <= 6; ++c)
            EXPECT_TRUE(grid().textMatrix(r, c) == "Yes" || grid().textMatrix(r, c) == "No") << r << "," << c;
    EXPECT_EQ(grid().textMatrix(rowOf("PR2"), 4), "Yes");
    EXPECT_EQ(grid().cellForeColor(rowOf("PR2"), 1), QColor(255, 0, 0));
    EXPECT_EQ(grid().cellForeColor(rowOf("PR2"), 5), grid().cellForeColor(rowOf("PR1"), 5));

    open(1, 2); // a later close date starts the window
    EXPECT_TRUE(moduleState().gstrListQuery.contains("whdate >= '20261201'")) << moduleState().gstrListQuery;
    EXPECT_EQ(numbers(), QStringList({"BC1"}));
}

TEST_P(RegisterWindow, RightsDecideTheCommandsAndFollowTheRow)
{
    // User 4 has no rights row, 3 is "ADMIN", 2 is "NEP"; PR2 is cancelled, PR3 posted.
    const std::tuple<int, const char *, const char *> cases[] = {
        {4, "PR1", "NEDPC"}, {4, "PR2", "NE-PC"}, {4, "PR3", "NE-PC"}, {3, "PR1", "----C"}, {2, "PR1", "NE-PC"}};
    for (const auto &[user, number, buttons] : cases) {
        if (!master || moduleState().gintUserID != user)
            open(user);
        standOn(number);
        EXPECT_EQ(enabledButtons(), buttons) << "user " << user << " on " << number;
    }
}

TEST_P(RegisterWindow, GridWidthsAreTheUsersOwnWhateverTheSizeOfTheId)
{
    // User 65537 would read as user 1 in sixteen bits.
    db.con->execute("insert into shop_grid_settings (userid, companyid, grid_name, column_index, width) "
                    "values (1, 1, 'flexMaster', 2, 77), (65537, 1, 'flexMaster', 2, 91)");
    open(65537);
    EXPECT_EQ(grid().columnWidth(2), 91);
    open(1);
    EXPECT_EQ(grid().columnWidth(2), 77);

    // A width the clerk drags on the list's header is kept for the next opening.
    QWidget *header = grid().horizontalHeader()->viewport();
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(1, 1));
    grid().setColumnWidth(3, 123);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(1, 1));
    open(1);
    EXPECT_EQ(grid().columnWidth(3), 123);
}

TEST_P(RegisterWindow, DeleteRefusesPostedAndConfirmedBeforeAskingTheDatabase)
{
    open();
    int statements = 0;
    setStatementObserver(*db.con, [&](const QString &, const QString &) { ++statements; });
    standOn("PR3");
    master->CmdDelete_Click();
    standOn("PR4");
    master->CmdDelete_Click();
    EXPECT_EQ(statements, 0);
    setStatementObserver(*db.con, {});
    EXPECT_EQ(ui->messageTexts(), QStringList({"Entry Posted,Cannot Delete", "Entry Confirmed,Cannot Delete"}));

    // A row cancelled since the list was filled is caught by the database check.
    db.con->execute("update LOsPurchaseReturnHeader set whcancelled = 1 where whshopid = 1 and whid = 5");
    ui->clearRecords();
    standOn("PR5");
    master->CmdDelete_Click();
    EXPECT_EQ(ui->messageTexts(), QStringList({"This entry is already deleted"}));
    EXPECT_FALSE(button("CmdDelete")->isEnabled());
}

TEST_P(RegisterWindow, DeleteKeyAsksThenCancelsThroughTheDialogEnterEditsCtrlEnterAdds)
{
    open();
    ui->onWindow("frmCancel", [](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("txtcanreason")->setText("damaged");
        dialog.findChild<QPushButton *>("cmdOK")->click();
    });
    standOn("PR5");
    ui->answer(MsgAnswer::No);
    master->CmdDelete_Click();
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(ui->questions()[0].text, "Are you sure want to delete the entry - PR5");
    EXPECT_EQ(ui->questions()[0].defaultAnswer, MsgAnswer::No);
    EXPECT_TRUE(ui->shownWindows().isEmpty());

    ui->answer(MsgAnswer::Yes);
    QTest::keyClick(&grid(), Qt::Key_Delete);
    EXPECT_EQ(ui->shownWindows(), QStringList({"frmCancel"}));
    EXPECT_EQ(db.con->scalar("select whCancelledRemarks from LOsPurchaseReturnHeader where whshopid = 1 and whid = 5")
                  .toString(), "clerk:damaged");
    EXPECT_EQ(grid().row(), rowOf("PR5"));
    EXPECT_EQ(grid().textMatrix(rowOf("PR5"), 4), "Yes");
    EXPECT_EQ(grid().cellForeColor(rowOf("PR5"), 0), QColor(255, 0, 0));
    EXPECT_FALSE(button("CmdDelete")->isEnabled());

    // Enter edits the current entry, Ctrl+Enter adds one.
    QStringList modes;
    RegisterChildWindows::current().editor = [&](EntryRequest request) {
        modes << modeText(request.mode) + request.id.text();
        auto dialog = std::make_unique<QDialog>();
        dialog->setObjectName("frmStockDetails");
        return dialog;
    };
    ui->onWindow("frmStockDetails", [](QDialog &d) { d.reject(); });
    standOn("PR1");
    QTest::keyClick(&grid(), Qt::Key_Return);
    QTest::keyClick(&grid(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(modes, QStringList({"E1", "N0"}));
}

TEST_P(RegisterWindow, EmptyWindowThenSavesFillRowOneAndAppend)
{
    session.login().gdtProcessDate = QDate(2027, 6, 1);
    load();
    EXPECT_EQ(numbers(), QStringList({""}));
    EXPECT_EQ(enabledButtons(), "N---C");
    for (int id : {40, 41})
        db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, whcancelled, "
                        "whposted, Whtransfinished) values (1, ?, ?, ?, 'clerk', 0, 0, 0)",
                        {id, QString("PR%1").arg(id), QDate(2027, 6, 1)});
    master->refreshRow(TransactionId(40), EntryMode::New);
    EXPECT_EQ(numbers(), QStringList({"PR40"}));
    EXPECT_EQ(grid().textMatrix(1, 2), "01/06/2027");
    master->refreshRow(TransactionId(41), EntryMode::New);
    EXPECT_EQ(numbers(), QStringList({"PR40", "PR41"}));
    EXPECT_EQ(grid().row(), 2);
    master->refreshRow(TransactionId(999), EntryMode::New);
    EXPECT_EQ(grid().rows(), 3) << "nothing to show for an id the list does not hold";

    ErrorTrackerScope errors;
    moduleState().gstrListQuery = "select nothing from nowhere";
    EXPECT_NO_THROW(master->refreshRow(TransactionId(40), EntryMode::New));
    EXPECT_EQ(errors.routines(), QStringList({"UpdateEditedRow"}));
}

TEST_P(RegisterWindow, SortsByIdForDatesAndFindsByPrefix)
{
    open();
    auto *sort = master->findChild<QComboBox *>("cboColNames");
    auto *search = master->findChild<QComboBox *>("cboSearch");
    auto *text = master->findChild<QLineEdit *>("txtsearch");
    // Order the rows by user first, so that a later sort by date visibly changes them.
    standOn("PRX5"); // cancelled, in the last row: no Delete
    sort->setCurrentIndex(sort->findText("Done By"));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(grid().textMatrix(1, 3), "clerk");
    // The commands follow the return that now stands in the current row.
    EXPECT_EQ(button("CmdDelete")->isEnabled(), grid().textMatrix(grid().row(), 4) == "No"
                                                    && grid().textMatrix(grid().row(), 5) == "No");
    EXPECT_EQ(grid().textMatrix(grid().row(), 1), "PR5");
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

SHOP_ON_ALL_BACKENDS(RegisterWindow);

} // namespace
} // namespace shop::test
