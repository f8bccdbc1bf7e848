// Drafts of returns being changed: restored over the stored return, or as a new one when
// another terminal got there first; kept apart per user and shop; let go on purpose.
#include "RegisterTestSupport.h"

#include "common/host/ModuleState.h"
#include "editor/EntryDraft.h"
#include "editor/PurchaseReturnCancel.h"
#include "editor/frmStockDetails.h"
#include "support/RowText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace shop::test {
namespace {

class Drafts : public RegisterTest {
protected:
    using EditorWork = std::function<void(frmStockDetails &)>;

    // Edit (or New, without a number) in the register, `work` in the editor; the
    // editor is then left without closing, as a crash would leave it.
    void workAndCrash(const QString &number, const EditorWork &work)
    {
        ui->onWindow("frmStockDetails", [&](QDialog &window) {
            work(static_cast<frmStockDetails &>(window));
            QCoreApplication::processEvents();
            window.hide();
        });
        if (number.isEmpty()) {
            master->cmdnew_Click();
            return;
        }
        standOn(number);
        master->CmdEdit_Click();
    }
    // The register opens again and the clerk answers the question; `work` runs in the
    // editor that opens on Yes.
    void reopen(MsgAnswer answer, const EditorWork &work = {})
    {
        ui->clearRecords();
        load();
        ui->answer(answer);
        ui->onWindow("frmStockDetails", [&](QDialog &window) {
            if (work)
                work(static_cast<frmStockDetails &>(window));
            if (window.isVisible())
                window.hide();
        });
        master->offerDraft();
    }
    static void removeLine(frmStockDetails &editor, ScriptedUi &ui, int position)
    {
        editor.lines().select(position);
        ui.answer(MsgAnswer::Yes);
        editor.mnuDelete_Click();
    }
    static void leaveRemark(frmStockDetails &editor, const QString &text)
    {
        editor.controls().txtRemark->setText(text);
        // Leaving the field is what keeps it.
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(editor.controls().txtRemark, &out);
    }
    QStringList drafts() { return rowsOf(*db.con, "select userid, shopid, line_count from shop_drafts order by 1, 2"); }
    QString header(int id)
    {
        return rowsOf(*db.con, "select WhNo, WhRemarks, whcancelled from LOsPurchaseReturnHeader where whshopid = 1 "
                               "and whid = ?", {id}).value(0);
    }
};

TEST_P(Drafts, AnEditIsRestoredOverItsReturnUnlessAnotherTerminalCancelledItMeanwhile)
{
    open();
    workAndCrash("PR1", [&](frmStockDetails &e) {
        leaveRemark(e, "Only the rice");
        removeLine(e, ui.ui(), 1);
    });
    EXPECT_EQ(drafts(), QStringList({"1|1|1"}));
    EXPECT_EQ(header(1), "PR1|Damaged packaging|0") << "nothing reaches the return before Ok";

    reopen(MsgAnswer::Yes, [&](frmStockDetails &e) {
        EXPECT_EQ(e.transId().value(), 1);
        EXPECT_EQ(e.controls().txtWriteNo->text(), "PR1");
        EXPECT_EQ(e.lines().count(), 1);
        QTest::mouseClick(e.controls().cmdOK, Qt::LeftButton);
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ").toStdString();
    EXPECT_EQ(header(1), "PR1|Only the rice|0");
    EXPECT_EQ(rowsOf(*db.con, "select count(distinct wditemid) from LOsPurchaseReturnDetail where wdshopid = 1 and wdid = 1"),
              QStringList({"1"}));
    EXPECT_TRUE(drafts().isEmpty());

    // Another terminal cancels PR5 while this one's changes wait in the draft.
    workAndCrash("PR5", [&](frmStockDetails &e) { leaveRemark(e, "Recall, second batch"); });
    const int before = db.con->scalar("select max(whid) from LOsPurchaseReturnHeader where whshopid = 1").toInt();
    ASSERT_TRUE(PurchaseReturnCancel(*db.con, moduleSession()).cancel(TransactionId(5), "PR5", "gone", "other-terminal"));
    reopen(MsgAnswer::Yes, [&](frmStockDetails &e) {
        EXPECT_FALSE(e.transId().isStored());
        EXPECT_TRUE(e.controls().txtWriteNo->text().isEmpty());
        EXPECT_EQ(e.controls().txtRemark->text(), "Recall, second batch");
        QTest::mouseClick(e.controls().cmdOK, Qt::LeftButton);
    });
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_TRUE(ui->messageTexts()[0].startsWith("The purchase return PR5 was changed, cancelled or posted"));
    EXPECT_EQ(header(5), "PR5|Yoghurt recall|1") << "the other terminal's cancellation stands";
    EXPECT_EQ(header(before + 1).section('|', 1), "Recall, second batch|0") << "the clerk's work is a return of its own";
}

TEST_P(Drafts, EachUserAndShopHasItsOwnAndNoClosingOrAnUnreadableOneLetsItGo)
{
    open();
    workAndCrash("PR1", [&](frmStockDetails &e) { leaveRemark(e, "user 1"); });
    open(2);
    master->offerDraft();
    EXPECT_TRUE(ui->questions().empty()) << "another user is not offered it";
    workAndCrash("", [&](frmStockDetails &e) { leaveRemark(e, "user 2"); });
    open(1, 2);
    master->offerDraft();
    EXPECT_TRUE(ui->questions().empty()) << "nor the same user in another shop";
    EXPECT_EQ(drafts(), QStringList({"1|1|2", "2|1|0"}));

    open();
    reopen(MsgAnswer::No);
    EXPECT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(drafts(), QStringList({"2|1|0"}));

    // Closing the editor without saving lets the draft go; an untouched one leaves none.
    open(2);
    reopen(MsgAnswer::Yes, [&](frmStockDetails &e) {
        EXPECT_EQ(e.controls().txtRemark->text(), "user 2");
        ui->answer(MsgAnswer::No);
        e.reject();
    });
    EXPECT_TRUE(drafts().isEmpty());
    open();
    workAndCrash("PR1", [](frmStockDetails &) {});
    EXPECT_TRUE(drafts().isEmpty());

    for (const char *body : {"{not a draft", R"({"mode":"E","id":0,"lines":[]})", R"({"mode":"N","lines":[["1"]]})"}) {
        db.con->execute("insert into shop_drafts (userid, shopid, line_count, changed_at, body) values (1, 1, 1, "
                        "'2026-12-06 10:00:00', ?)", {QString::fromLatin1(body)});
        reopen(MsgAnswer::Yes);
        EXPECT_EQ(ui->messageTexts(), QStringList({DraftStore::UnreadableMessage})) << body;
        EXPECT_EQ(ui->shownWindows(), QStringList()) << body;
        EXPECT_TRUE(drafts().isEmpty()) << body;
        load();
        master->offerDraft();
        EXPECT_EQ(ui->questions().size(), 1u) << "reported once: " << body;
    }
}

SHOP_ON_ALL_BACKENDS(Drafts);

} // namespace
} // namespace shop::test
