#include "EditorTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include "editor/frmCancel.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace shop::test {
namespace {

class CancelWindow : public EditorTest {
protected:
    ScriptedUiScope ui;
    frmCancel dialog{TransactionId(1), "PR1"};

    CancelWindow()
    {
        dialog.Form_Load();
        dialog.show();
    }
    QLineEdit *reason() { return dialog.findChild<QLineEdit *>("txtcanreason"); }
    QPushButton *ok() { return dialog.findChild<QPushButton *>("cmdOK"); }
    QStringList header()
    {
        return rows("select whcancelled, whCancelledRemarks from LOsPurchaseReturnHeader where whshopid = 1 and whid = 1");
    }
};

// What a reason may hold, typed or pasted, is the field-input suite's; here the closing.
TEST_P(CancelWindow, ClosingAsksForAReasonEnterMovesToOkAndClosingWithOneDeletes)
{
    reason()->setText("   ");
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui->messageTexts(), QStringList({"Enter reason for deletion"}));
    EXPECT_EQ(header(), QStringList{"0|<null>"});

    reason()->clear();
    QTest::keyClicks(reason(), "damaged");
    QTest::keyClick(reason(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), ok());
    dialog.close(); // with a reason, closing deletes as OK does
    EXPECT_TRUE(dialog.deleted());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(header(), QStringList{"1|clerk:damaged"});
}

TEST_P(CancelWindow, FailedDeletionIsReportedAndTheWindowStays)
{
    ErrorTrackerScope errors;
    setStatementObserver(con(), [](const QString &kind, const QString &text) {
        if (kind == "execute" && text.contains("losExpiryIssueDetails", Qt::CaseInsensitive))
            throw std::runtime_error("disk full");
    });
    reason()->setText("damaged");
    ok()->click();
    setStatementObserver(con(), {});
    EXPECT_EQ(errors.routines(), QStringList({"cmdOK_Click"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(header(), QStringList{"0|<null>"});
}

SHOP_ON_ALL_BACKENDS(CancelWindow);

} // namespace
} // namespace shop::test
