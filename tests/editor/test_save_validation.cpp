#include "EditorTestSupport.h"

#include "editor/SaveValidation.h"
#include "common/host/ModuleState.h"
#include "support/ScriptedUi.h"

namespace shop::test {
namespace {

using Verdict = ValidationResult::Verdict;

class SaveValidationTest : public EditorTest {};

QStringList allocation(const QString &qty, int itemId)
{
    // Location and expiry rows both carry the item in column 6; the quantity goes in 2 and 3.
    return {"1", "B1", qty, qty, {}, "0", QString::number(itemId)};
}

TEST_P(SaveValidationTest, RefusesInOrderWithTheMessageAndTheFieldToFix)
{
    PurchaseReturnEntry e = newEntry({});
    e.userName = "  ";
    e.remarks.clear();
    EXPECT_EQ(SaveValidation(moduleSession()).check(e).verdict, Verdict::NoItems);
    e.lines = {itemLine(1, 5, "2")};
    const ValidationResult r = SaveValidation(moduleSession()).check(e);
    EXPECT_EQ(r.verdict, Verdict::NoUserName);
    EXPECT_EQ(r.focusControl, "txtUserName");
    e.userName = "clerk";
    EXPECT_EQ(SaveValidation(moduleSession()).check(e).focusControl, "txtRemark");
    e.remarks = "x";
    EXPECT_TRUE(SaveValidation(moduleSession()).check(e).accepted());

    ScriptedUiScope ui;
    e.confirmed = true;
    ui->answer(MsgAnswer::No);
    EXPECT_EQ(SaveValidation(moduleSession()).run(e, "Title").verdict, Verdict::NotConfirmed);
    EXPECT_TRUE(ui->messages().empty());

    e.remarks.clear();
    ui->answer(MsgAnswer::Yes);
    EXPECT_EQ(SaveValidation(moduleSession()).run(e, "Title").verdict, Verdict::NoRemarks);
    ASSERT_EQ(ui->questions().size(), 2u);
    EXPECT_EQ(ui->questions().front().text, "Once confirmed, details cannot change.\nDo you want to continue ?");
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages().front().text, "Enter remarks");
    EXPECT_EQ(ui->messages().front().title, "Title");
}

TEST_P(SaveValidationTest, AllocationSumsAreExactDecimals)
{
    // Shop 1 keeps locations; milk (1) is expiry-tracked, rice (5) is not.
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, "0.3"), itemLine(2, 1, "0.3")});
    for (const char *qty : {"0.1", "0.2"}) {
        e.locations.addRow(allocation(qty, 5));
        e.locations.addRow(allocation(qty, 1));
        e.expiry.addRow(allocation(qty, 1));
    }
    e.expiry.addRow(allocation("9", 5));
    EXPECT_TRUE(SaveValidation(moduleSession()).check(e).accepted());

    e.locations.setText(1, 2, "0.15");
    ValidationResult r = SaveValidation(moduleSession()).check(e);
    EXPECT_EQ(r.verdict, Verdict::LocationMismatch);
    EXPECT_EQ(r.lineIndex, 0);
    EXPECT_EQ(r.icon, MsgIcon::Exclamation);

    loginShop(2); // no locations: only the expiry batches count
    EXPECT_TRUE(SaveValidation(moduleSession()).check(e).accepted());
    e.expiry.setText(2, 3, "0.25");
    r = SaveValidation(moduleSession()).check(e);
    EXPECT_EQ(r.verdict, Verdict::ExpiryMismatch);
    EXPECT_EQ(r.lineIndex, 1);
    EXPECT_EQ(r.message, "The Received Quantity and the sum of  Expiry Quantity  must be equal.\n\n"
                         "To enter quantities in expiry details, right click on a row and select Edit");
}

SHOP_ON_ALL_BACKENDS(SaveValidationTest);

} // namespace
} // namespace shop::test
