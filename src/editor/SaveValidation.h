#pragma once

#include "common/core/Session.h"
#include "common/ui/Ui.h"
#include "editor/PurchaseReturnEntry.h"

#include <QString>

namespace shop {

// What OK's checks decided about a purchase return before it is saved.
struct ValidationResult {
    enum class Verdict {
        Accepted,
        NotConfirmed,     // the user did not answer Yes to the confirmation question
        NoItems,
        NoUserName,
        NoRemarks,
        LocationMismatch,
        ExpiryMismatch,
    };
    Verdict verdict = Verdict::Accepted;
    QString message;      // empty for Accepted and NotConfirmed
    MsgIcon icon = MsgIcon::None;
    QString focusControl; // the control that takes the focus ("txtUserName", "txtRemark"), or empty
    int lineIndex = -1;   // the first line whose allocations differ from its quantity

    bool accepted() const { return verdict == Verdict::Accepted; }
};

// OK's checks of the editor, in their order: the confirmation question, at least one
// item, the user name, the remarks, the location sums (shops that keep stock by
// location) and the expiry sums (expiry-tracked items). Quantities are summed as
// exact decimals. Works for the shop of the session.
class SaveValidation {
public:
    explicit SaveValidation(Session session) : m_session(std::move(session)) {}

    static const QString ConfirmQuestion;
    static const QString NoItemsMessage;
    static const QString NoUserNameMessage;
    static const QString NoRemarksMessage;
    static const QString LocationMismatchMessage;
    static const QString ExpiryMismatchMessage;

    // Whether the confirmation question must be asked before the checks.
    static bool needsConfirmation(const PurchaseReturnEntry &entry) { return entry.confirmed; }
    // The checks after the question: the first refusal, or Accepted.
    ValidationResult check(const PurchaseReturnEntry &entry) const;
    // The whole of it through the user-interface services: asks the question (No is
    // a refusal without a message), then shows the refusal's message with `title`.
    // The caller moves the focus to result.focusControl.
    ValidationResult run(const PurchaseReturnEntry &entry, const QString &title) const;

private:
    Session m_session;
};

} // namespace shop
