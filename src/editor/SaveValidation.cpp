#include "editor/SaveValidation.h"

#include "common/core/Conversions.h"
#include "common/routines/Lookups.h"
#include "editor/ExpiryTracking.h"

namespace shop {

const QString SaveValidation::ConfirmQuestion =
    QStringLiteral("Once confirmed, details cannot change.") + QStringLiteral("\n") + QStringLiteral("Do you want to continue ?");
const QString SaveValidation::NoItemsMessage = QStringLiteral("Details of at least one item must be entered.")
    + QStringLiteral("\n\n") + QStringLiteral("To enter details, right click on the list and select Add");
const QString SaveValidation::NoUserNameMessage = QStringLiteral("Enter user name");
const QString SaveValidation::NoRemarksMessage = QStringLiteral("Enter remarks");
const QString SaveValidation::LocationMismatchMessage = QStringLiteral("Despatched quantity and the Sum of  ")
    + QStringLiteral("Location Quantity  must be equal.") + QStringLiteral("\n\n")
    + QStringLiteral("To enter quantities in locations, ") + QStringLiteral("right click on a row and select Edit");
const QString SaveValidation::ExpiryMismatchMessage = QStringLiteral("The Received Quantity and the sum of  ")
    + QStringLiteral("Expiry Quantity  must be equal.") + QStringLiteral("\n\n")
    + QStringLiteral("To enter quantities in expiry details, ") + QStringLiteral("right click on a row and select Edit");

namespace {

ValidationResult refusal(ValidationResult::Verdict verdict, const QString &message, MsgIcon icon,
                         const QString &focus = {}, int lineIndex = -1)
{
    return ValidationResult{verdict, message, icon, focus, lineIndex};
}

} // namespace

ValidationResult SaveValidation::check(const PurchaseReturnEntry &entry) const
{
    using V = ValidationResult::Verdict;
    if (entry.lines.isEmpty())
        return refusal(V::NoItems, NoItemsMessage, MsgIcon::Information);
    if (entry.userName.trimmed().isEmpty())
        return refusal(V::NoUserName, NoUserNameMessage, MsgIcon::Information, QStringLiteral("txtUserName"));
    if (entry.remarks.trimmed().isEmpty())
        return refusal(V::NoRemarks, NoRemarksMessage, MsgIcon::Information, QStringLiteral("txtRemark"));

    if (entry.locations.hasData() && fnLocationArrangement(m_session.shopId)) {
        for (int i = 0; i < entry.lines.size(); ++i) {
            const QStringList &l = entry.lines.at(i);
            const QString itemId = l.value(line::ItemId).trimmed();
            if (allocatedQuantity(entry.locations, AllocationKind::Location, itemId)
                != valDecimal(l.value(line::ReturnQty)))
                return refusal(V::LocationMismatch, LocationMismatchMessage, MsgIcon::Exclamation, {}, i);
        }
    }
    if (entry.expiry.hasData()) {
        for (int i = 0; i < entry.lines.size(); ++i) {
            const QStringList &l = entry.lines.at(i);
            const QString itemId = l.value(line::ItemId).trimmed();
            if (!fnItemHasExpiry(toInt32(valDecimal(itemId))))
                continue;
            if (allocatedQuantity(entry.expiry, AllocationKind::Expiry, itemId)
                != valDecimal(l.value(line::ReturnQty)))
                return refusal(V::ExpiryMismatch, ExpiryMismatchMessage, MsgIcon::Exclamation, {}, i);
        }
    }
    return {};
}

ValidationResult SaveValidation::run(const PurchaseReturnEntry &entry, const QString &title) const
{
    Ui &ui = Ui::current();
    if (needsConfirmation(entry)
        && ui.ask(ConfirmQuestion, MsgButtons::YesNo, MsgAnswer::Yes, MsgIcon::Information, title) != MsgAnswer::Yes)
        return refusal(ValidationResult::Verdict::NotConfirmed, {}, MsgIcon::None);
    ValidationResult result = check(entry);
    if (!result.accepted())
        ui.message(result.message, result.icon, title);
    return result;
}

} // namespace shop
