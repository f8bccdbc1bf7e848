#pragma once

#include "common/core/TransactionId.h"

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>

#include <QString>

namespace shop {

// Deleting a purchase return cancels it: in one database transaction the stock is
// given back (spUpdateshopPurchaseReturn), the header is flagged cancelled with the
// user's name and reason, and the transaction's issue-ledger rows are flagged
// cancelled. Any failure rolls everything back and is raised as a ModuleError; a
// return cancelled or posted meanwhile is refused with the save's messages. It runs
// as a ModuleWrite, in the same lock order as the save.
// Works for the shop, user and transaction type of the session, and writes its audit
// row with the session's audit component inside the same transaction.
class PurchaseReturnCancel {
public:
    PurchaseReturnCancel(Connection &con, Session session);

    static const QString ReasonMissingMessage;

    // The stored remark: user name, ":" and reason, each trimmed.
    static QString remark(const QString &userName, const QString &reason);

    // Cancels the transaction. Returns false, writing nothing, when the reason is
    // empty after trimming (the dialog then shows ReasonMissingMessage). `token` is
    // the dialog's: the same for each Ok, so that a cancellation is never done twice.
    bool cancel(TransactionId id, const QString &transNo, const QString &reason, const QString &token = {});

private:
    Connection &m_con;
    const Session m_session;
};

} // namespace shop
