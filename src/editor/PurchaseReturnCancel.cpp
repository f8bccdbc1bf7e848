#include "editor/PurchaseReturnCancel.h"

#include "common/host/ModuleCommonDB.h"
#include "common/core/Conversions.h"
#include "common/core/ModuleError.h"
#include "stock/IssueLedgers.h"
#include "editor/ModuleAudit.h"
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnEntry.h"
#include "editor/PurchaseReturnSave.h"

#include <QDateTime>

namespace shop {

namespace {
const QString kSource = QStringLiteral("PurchaseReturnCancel");
}

const QString PurchaseReturnCancel::ReasonMissingMessage = QStringLiteral("Enter reason for deletion");

QString PurchaseReturnCancel::remark(const QString &userName, const QString &reason)
{
    return userName.trimmed() + QLatin1Char(':') + reason.trimmed();
}

bool PurchaseReturnCancel::cancel(TransactionId id, const QString &transNo, const QString &reason, const QString &token)
{
    const qint32 transId = id.value();
    const ModuleState &state = moduleState();
    clsUserAuditing &audit = moduleAudit();
    audit.LoggedTime = QDateTime::currentDateTime();
    if (reason.trimmed().isEmpty())
        return false;

    Connection &con = moduleConnection();
    const qint32 shopId = state.gintShopID;
    ModuleWrite write(con, shopId, token, kSource);
    const SaveOutcome outcome = write.run([&] {
        // The return's row is locked and checked under the shop's lock: a second
        // cancellation from a terminal that had not seen the first, or an edit saved
        // meanwhile, must not give the stock back twice.
        const HeaderFlags flags = write.lockHeader(id);
        if (!flags.found || flags.cancelled)
            return SaveOutcome{false, PurchaseReturnSave::AlreadyDeletedMessage, MsgIcon::Information, id, transNo};
        if (flags.posted)
            return SaveOutcome{false, PurchaseReturnSave::PostedMessage, MsgIcon::Critical, id, transNo};
        write.lockStockRows(id, {});
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
        return SaveOutcome{true, {}, MsgIcon::None, id, transNo};
    });
    if (!outcome.saved)
        throw ModuleError(ModuleError::DatabaseFailure, kSource, outcome.refusal);
    return true;
}

} // namespace shop
