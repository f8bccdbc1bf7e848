#pragma once

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnEntry.h"

#include <QString>

namespace shop {

// Stores the purchase return of the editor in one database transaction on the
// module connection: header (a new one gets its id and number here), detail rows
// between the two stock updates of spUpdateshopWriteoff, and the issue-ledger rows
// of the allocation tables. Any failure rolls everything back and is raised as a
// ModuleError. It runs as a ModuleWrite: the shop's lock first, then the header,
// then the stock rows; run again on a number taken by another terminal or a conflict
// the server broke; a commit whose reply was lost is looked up by the entry's token.
// Works for the shop, company, user and transaction type of the session. The audit
// row is the window's to write once the save has succeeded: it knows what the clerk
// changed (SaveOutcome::audit).
class PurchaseReturnSave {
public:
    PurchaseReturnSave(Connection &con, Session session);

    static const QString AlreadyDeletedMessage;
    static const QString PostedMessage;
    static const QString AllocationWithoutLineMessage;

    // Saves the entry (validated beforehand).
    SaveOutcome save(const PurchaseReturnEntry &entry);

    // A stored transaction that has been posted to the journal.
    bool isPosted(TransactionId transId) const;

private:
    SaveOutcome saveOnce(const PurchaseReturnEntry &entry, const ModuleWrite &write);
    void writeHeader(const PurchaseReturnEntry &entry, SaveOutcome &outcome);
    QVariant expenseAccount(const PurchaseReturnEntry &entry) const;
    void writeDetails(const PurchaseReturnEntry &entry, TransactionId transId);

    const Session m_session;
    Connection &m_con;
};

} // namespace shop
