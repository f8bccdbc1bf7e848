#include "EditorTestSupport.h"

#include "editor/SaveValidation.h"
#include "support/ScriptedUi.h"

namespace shop::test {
namespace {

using Verdict = ValidationResult::Verdict;

class SaveValidationTest : public EditorTest {
protected:
    ValidationResult check(const PurchaseReturnEntry &e) { return SaveValidation().check(e); }
};

TEST_P(SaveValidationTest, RefusesInOrderWithTheMessageAndTheFieldToFix)
{
    PurchaseReturnEntry e = newEntry({});
    e.userName = QStringLiteral("  ");
    e.remarks.clear();
    ValidationResult r = check(e);
    EXPECT_EQ(r.verdict, Verdict::NoItems);
    EXPECT_EQ(r.message, "Details of at least one item must be entered.\n\nTo enter details, right click on the list and select Add");
    EXPECT_EQ(r.icon, MsgIcon::Information);

    e.lines = {itemLine(1, 5, QStringLiteral("2"))};
    r = check(e);
    EXPECT_EQ(r.verdict, Verdict::NoUserName);
    EXPECT_EQ(r.message, "Enter user name");
    EXPECT_EQ(r.focusControl, "txtUserName");

    e.userName = QStringLiteral("clerk");
    r = check(e);
    EXPECT_EQ(r.verdict, Verdict::NoRemarks);
    EXPECT_EQ(r.focusControl, "txtRemark");

    e.remarks = QStringLiteral("x");
    EXPECT_TRUE(check(e).accepted());
}

TEST_P(SaveValidationTest, LocationSumsAreExactDecimalsAndCountOnlyWhereTheShopKeepsLocations)
{
    PurchaseReturnEntry e = newEntry({itemLine(1, 6, QStringLiteral("1")), itemLine(2, 5, QStringLiteral("0.3"))});
    e.locations.addRow({QStringLiteral("1"), QStringLiteral("Front shelf"), QStringLiteral("1"), QStringLiteral("1"), {},
                        QStringLiteral("0"), QStringLiteral("6")});
    e.locations.addRow({QStringLiteral("1"), QStringLiteral("Front shelf"), QStringLiteral("0.1"), QStringLiteral("1"), {},
                        QStringLiteral("0"), QStringLiteral("5")});
    e.locations.addRow({QStringLiteral("2"), QStringLiteral("Back store"), QStringLiteral("0.2"), QStringLiteral("2"), {},
                        QStringLiteral("0"), QStringLiteral("5")});
    EXPECT_TRUE(check(e).accepted()) << "0.1 + 0.2 allocated to a line of 0.3";

    e.locations.setText(3, 2, QStringLiteral("0.25"));
    ValidationResult r = check(e);
    EXPECT_EQ(r.verdict, Verdict::LocationMismatch);
    EXPECT_EQ(r.lineIndex, 1);
    EXPECT_EQ(r.icon, MsgIcon::Exclamation);
    EXPECT_EQ(r.message, "Despatched quantity and the Sum of  Location Quantity  must be equal.\n\n"
                         "To enter quantities in locations, right click on a row and select Edit");

    loginShop(2); // no location arrangement
    EXPECT_TRUE(check(e).accepted());
}

TEST_P(SaveValidationTest, ExpirySumsAreCheckedForExpiryTrackedItemsOnly)
{
    loginShop(2);
    // Milk (1) is tracked by expiry, rice (5) is not.
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, QStringLiteral("4")), itemLine(2, 1, QStringLiteral("3"))});
    e.expiry.addRow({QStringLiteral("1"), QStringLiteral("B2001"), QStringLiteral("10/12/2026"), QStringLiteral("1.5"), {},
                     QStringLiteral("0"), QStringLiteral("1")});
    e.expiry.addRow({QStringLiteral("2"), QStringLiteral("B2002"), QStringLiteral("12/12/2026"), QStringLiteral("1.5"), {},
                     QStringLiteral("0"), QStringLiteral("1")});
    EXPECT_TRUE(check(e).accepted());

    e.lines[1][line::ReturnQty] = QStringLiteral("3.001");
    const ValidationResult r = check(e);
    EXPECT_EQ(r.verdict, Verdict::ExpiryMismatch);
    EXPECT_EQ(r.lineIndex, 1);
    EXPECT_EQ(r.message, "The Received Quantity and the sum of  Expiry Quantity  must be equal.\n\n"
                         "To enter quantities in expiry details, right click on a row and select Edit");
}

TEST_P(SaveValidationTest, RunAsksBeforeAConfirmedReturnAndShowsTheRefusal)
{
    ScriptedUiScope ui;
    PurchaseReturnEntry e = newEntry({itemLine(1, 5, QStringLiteral("2"))});
    e.confirmed = true;
    ui->answer(MsgAnswer::No);
    const SaveValidation validation;
    EXPECT_EQ(validation.run(e, QStringLiteral("Title")).verdict, Verdict::NotConfirmed);
    ASSERT_EQ(ui->questions().size(), 1u);
    EXPECT_EQ(ui->questions().front().text, "Once confirmed, details cannot change.\nDo you want to continue ?");
    EXPECT_TRUE(ui->messages().empty());

    e.remarks.clear();
    ui->answer(MsgAnswer::Yes);
    EXPECT_EQ(validation.run(e, QStringLiteral("Title")).verdict, Verdict::NoRemarks);
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages().front().text, "Enter remarks");
    EXPECT_EQ(ui->messages().front().title, "Title");
}

SHOP_ON_ALL_BACKENDS(SaveValidationTest);

} // namespace
} // namespace shop::test
