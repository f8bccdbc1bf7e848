#include "editor/frmCancel.h"
#include "support/ModuleStateScope.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace shop;
using namespace shop::test;

namespace {

class CancelWindow : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    ModuleStateScope state{db.con};
    ScriptedUiScope ui;
    frmCancel dialog{1, "PR1"};

    CancelWindow()
    {
        state->gintUserID = 1;
        state->gintShopID = 1;
        state->gintCompanyID = 1;
        state->gintInterfaceID = 1901;
        state->gstrTransType = "P";
        state->gstrMessageTitle = "Returns";
        dialog.Form_Load();
        dialog.show();
    }
    QLineEdit *reason() { return dialog.findChild<QLineEdit *>("txtcanreason"); }
    QVariant header(const char *column)
    {
        return db.con->scalar(QString("select %1 from LOsPurchaseReturnHeader where whshopid = 1 and whid = 1").arg(column));
    }
};

} // namespace

TEST_P(CancelWindow, TypedReasonIsStoredWithoutApostrophes)
{
    EXPECT_EQ(dialog.windowTitle(), "Reason For Deletion");
    QTest::keyClicks(reason(), "won't sell");
    EXPECT_EQ(reason()->text(), "wont sell");
    QTest::keyClick(reason(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QPushButton *>("cmdOK"));
    dialog.findChild<QPushButton *>("cmdOK")->click();
    EXPECT_TRUE(dialog.deleted());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(header("whcancelled").toInt(), 1);
    EXPECT_EQ(header("whCancelledRemarks").toString(), "clerk:wont sell");
}

TEST_P(CancelWindow, ClosingAsksForTheReasonUntilOneIsGiven)
{
    reason()->setText("   ");
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui->messageTexts(), QStringList({"Enter reason for deletion"}));
    EXPECT_EQ(header("whcancelled").toInt(), 0);

    reason()->setText("'; drop table LOsPurchaseReturnDetail; --"); // pasted, not typed
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(header("whCancelledRemarks").toString(), "clerk:'; drop table LOsPurchaseReturnDetail; --");
    EXPECT_GT(db.con->scalar("select count(*) from LOsPurchaseReturnDetail").toInt(), 0);
}

TEST_P(CancelWindow, FailedDeletionIsReportedAndLeavesNothing)
{
    ErrorTrackerScope errors;
    db.con->setObserver([](const QString &kind, const QString &text) {
        if (kind == "execute" && text.contains("losExpiryIssueDetails", Qt::CaseInsensitive))
            throw std::runtime_error("disk full");
    });
    reason()->setText("damaged");
    dialog.findChild<QPushButton *>("cmdOK")->click();
    db.con->setObserver({});
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].routine, "cmdOK_Click");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(header("whcancelled").toInt(), 0);
    EXPECT_EQ(db.con->scalar("select count(*) from losLocationIssueDetails where lidCancel = 1 and lidShopId = 1 "
                             "and lidInterfaceId = 1901").toInt(), 1); // only PR2's row, as before
}

SHOP_ON_ALL_BACKENDS(CancelWindow);
