#include "editor/PurchaseReturnCancel.h"

#include "common/host/ModuleCommonDB.h"
#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "stock/IssueLedgers.h"
#include <rtnmod08/HostComponents.h>
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnEntry.h"
#include "editor/PurchaseReturnSave.h"

#include <QDateTime>

namespace shop {

namespace {
const QString kSource = QStringLiteral("PurchaseReturnCancel");
}

PurchaseReturnCancel::PurchaseReturnCancel(Connection &con, Session session) : m_con(con), m_session(std::move(session)) {}

const QString PurchaseReturnCancel::ReasonMissingMessage = QStringLiteral("Enter reason for deletion");

QString PurchaseReturnCancel::remark(const QString &userName, const QString &reason)
{
    return userName.trimmed() + QLatin1Char(':') + reason.trimmed();
}

bool PurchaseReturnCancel::cancel(TransactionId id, const QString &transNo, const QString &reason, const QString &token)
{
    const qint32 transId = id.value();
    if (!m_session.audit)
        throw ModuleError(ModuleError::ConnectionClosed, kSource, QStringLiteral("The audit is not open."));
    clsUserAuditing &audit = *m_session.audit;
    audit.LoggedTime = QDateTime::currentDateTime();
    if (reason.trimmed().isEmpty())
        return false;

    Connection &con = m_con;
    const qint32 shopId = m_session.shopId;
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
                                         {m_session.userId, shopId});
        const QString text = user.isEmpty() ? QString() : remark(user.value(0, 0).toString(), reason);
        // The stock goes back while the return still counts as not cancelled.
        // The transaction id goes in as 32-bit: shops past their 32767th return can cancel too.
        con.callProcedure(QStringLiteral("spUpdateshopPurchaseReturn"),
                          {transId, shopId, QStringLiteral("P"), m_session.transType});
        con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelledRemarks=? where whshopid=? and whID=?"),
                    {storedText(text), shopId, transId});
        con.execute(QStringLiteral("update LOsPurchaseReturnHeader set whCancelled=1 where whshopid=? and whID=?"),
                    {shopId, transId});
        const LedgerOwner owner{m_session.interfaceId, shopId, transId};
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
