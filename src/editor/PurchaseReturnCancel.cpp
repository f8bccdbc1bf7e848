#include "editor/PurchaseReturnCancel.h"

#include "common/db/Transaction.h"

#include "common/host/ModuleCommonDB.h"
#include "common/core/Conversions.h"
#include "common/core/ModuleError.h"
#include "editor/IssueLedgers.h"
#include "editor/ModuleAudit.h"
#include "editor/PurchaseReturnEntry.h"

#include <QDateTime>

namespace shop {

const QString PurchaseReturnCancel::ReasonMissingMessage = QStringLiteral("Enter reason for deletion");

QString PurchaseReturnCancel::remark(const QString &userName, const QString &reason)
{
    return userName.trimmed() + QLatin1Char(':') + reason.trimmed();
}

bool PurchaseReturnCancel::cancel(TransactionId id, const QString &transNo, const QString &reason)
{
    const qint32 transId = id.value();
    const ModuleState &state = moduleState();
    clsUserAuditing &audit = moduleAudit();
    audit.LoggedTime = QDateTime::currentDateTime();
    if (reason.trimmed().isEmpty())
        return false;

    Connection &con = moduleConnection();
    const qint32 shopId = state.gintShopID;
    Transaction tx(con);
    {
        // The return's row is locked and checked first: a second cancellation from a
        // terminal that had not seen the first must not give the stock back twice.
        // (On SQLite the transaction already holds the write lock.)
        const QString check = QStringLiteral("select whCancelled from LOsPurchaseReturnHeader where whshopid=? and whID=?")
            + (con.backend() == Backend::Postgres ? QStringLiteral(" for update") : QString());
        const Recordset header = con.query(check, {shopId, transId});
        if (header.isEmpty() || toBool(header.value(0, 0)))
            throw ModuleError(ModuleError::DatabaseFailure, QStringLiteral("PurchaseReturnCancel"),
                              QStringLiteral("This entry is already deleted"));
        const Recordset user = con.query(QStringLiteral("select username from lousers where userid=? and shopID=?"),
                                         {state.gintUserID, shopId});
        const QString text = user.isEmpty() ? QString() : remark(user.value(0, 0).toString(), reason);
        // The stock goes back while the return still counts as not cancelled.
        // The transaction id goes in as 32-bit: shops past their 32767th return can cancel too.
        con.callProcedure(QStringLiteral("spUpdateshopPurchaseReturn"),
                          {transId, shopId, QStringLiteral("P"), state.gstrTransType});
        con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelledRemarks=? where whshopid=? and whID=?"),
                    {storedText(text), shopId, transId});
        con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelled=1 where whshopid=? and whID=?"),
                    {shopId, transId});
        const LedgerOwner owner{state.gintInterfaceID, shopId, transId};
        for (IssueLedger ledger : {IssueLedger::Location, IssueLedger::Expiry, IssueLedger::Serial})
            cancelIssueLedger(con, ledger, owner);
        qint32 auditId = transId;
        QString auditNo = transNo;
        audit.SaveUserAuditingInfo(auditId, auditNo, true, QStringLiteral("D"));
    }
    tx.commit();
    return true;
}

} // namespace shop
