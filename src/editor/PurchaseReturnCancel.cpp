#include "editor/PurchaseReturnCancel.h"

#include "common/db/Transaction.h"

#include "common/host/ModuleCommonDB.h"
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
        const Recordset user = con.query(QStringLiteral("select username from lousers where userid=? and shopID=?"),
                                         {state.gintUserID, shopId});
        const QString text = user.isEmpty() ? QString() : remark(user.value(0, 0).toString(), reason);
        // Flagging first, and only a return not yet cancelled: a second cancellation from
        // another terminal must not give the stock back twice.
        if (con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelled=1 where whshopid=? and whID=? "
                                       "and whCancelled=0"),
                        {shopId, transId})
            == 0)
            throw ModuleError(ModuleError::DatabaseFailure, QStringLiteral("PurchaseReturnCancel"),
                              QStringLiteral("This entry is already deleted"));
        // The transaction id goes in as 32-bit: shops past their 32767th return can cancel too.
        con.callProcedure(QStringLiteral("spUpdateshopPurchaseReturn"),
                          {transId, shopId, QStringLiteral("P"), state.gstrTransType});
        con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelledRemarks=? where whshopid=? and whID=?"),
                    {storedText(text), shopId, transId});
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
