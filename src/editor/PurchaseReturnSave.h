#pragma once

#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "editor/PurchaseReturnEntry.h"

#include <QString>

class QWidget;

namespace shop {

// What became of OK's save.
struct SaveOutcome {
    bool saved = false;
    QString refusal;            // the message when the save was refused; nothing of it is stored
    MsgIcon icon = MsgIcon::None;
    TransactionId transId;      // the stored transaction's id
    QString transNo;            // its document number
};

// Stores the purchase return of the editor in one database transaction on the
// module connection: header (a new one gets its id and number here), detail rows
// between the two stock updates of spUpdateshopWriteoff, and the issue-ledger rows
// of the allocation tables. Any failure rolls everything back and is raised as a
// ModuleError; a number taken by a save of another terminal that committed first
// makes the whole transaction run again. Works for the shop, company, user and
// transaction type of the module-wide state.
class PurchaseReturnSave {
public:
    PurchaseReturnSave();

    static const QString AlreadyDeletedMessage;
    static const QString PostedMessage;
    static const QString AllocationWithoutLineMessage;
    static constexpr int MaxAttempts = 3;

    // Saves the entry (validated beforehand). `window` is the editor, for the audit.
    SaveOutcome save(const PurchaseReturnEntry &entry, QWidget *window = nullptr);

    // A stored transaction that has been posted to the journal.
    bool isPosted(TransactionId transId) const;

private:
    SaveOutcome saveOnce(const PurchaseReturnEntry &entry, QWidget *window);
    void writeHeader(const PurchaseReturnEntry &entry, SaveOutcome &outcome, QWidget *window);
    QVariant expenseAccount(const PurchaseReturnEntry &entry) const;
    void writeDetails(const PurchaseReturnEntry &entry, TransactionId transId);

    ModuleState &m_state;
    Connection &m_con;
};

} // namespace shop
