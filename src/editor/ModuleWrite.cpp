#include "editor/ModuleWrite.h"
#include "common/db/ConnectionInternals.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/db/Transaction.h"
#include "editor/DocumentNumbering.h"

#include <QAtomicInt>
#include <QUuid>

namespace shop {

const QString ModuleWrite::ConflictMessage = QStringLiteral(
    "Another terminal was changing the same entries at the same moment, so this was not stored. "
    "Nothing of it was stored. Press Ok to try again.");
const QString ModuleWrite::CommitUnknownMessage = QStringLiteral(
    "The connection to the database server was lost while this was being stored, and the server cannot be "
    "reached to find out whether it was. Press Ok again when the server is back: it is never stored twice.");

namespace {

QAtomicInt g_retries;

bool isConflict(const ModuleError &error) { return error.number() == TransactionConflict; }

} // namespace

QString newWriteToken() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

ModuleWrite::ModuleWrite(Connection &con, qint32 shopId, QString token, QString source)
    : m_con(con), m_shopId(shopId), m_token(token.isEmpty() ? newWriteToken() : std::move(token)),
      m_source(std::move(source))
{
}

int ModuleWrite::retriesTaken() { return g_retries.loadRelaxed(); }

std::optional<SaveOutcome> ModuleWrite::storedEarlier() const
{
    const Recordset rs = m_con.query(QStringLiteral("select transid, transno from shop_commit_tokens where token = ?"),
                                     {m_token});
    if (rs.isEmpty())
        return std::nullopt;
    return SaveOutcome{true, {}, MsgIcon::None, TransactionId(toInt32(rs.value(0, 0))), rs.value(0, 1).toString()};
}

SaveOutcome ModuleWrite::outcomeAfterLostCommit() const
{
    std::optional<SaveOutcome> stored;
    try {
        // A fresh session: what it finds under the token was committed.
        stored = storedEarlier();
    } catch (const ModuleError &) {
        throw ModuleError(ModuleError::ConnectionClosed, m_source, CommitUnknownMessage);
    }
    if (!stored)
        throw ModuleError(ModuleError::ConnectionClosed, m_con.sourceName(), Connection::ServerLostMessage);
    return *stored;
}

SaveOutcome ModuleWrite::run(const std::function<SaveOutcome()> &body)
{
    for (int attempt = 1;; ++attempt) {
        bool committing = false;
        try {
            Transaction tx(m_con);
            lockShopNumbers(m_con, m_shopId);
            if (const std::optional<SaveOutcome> earlier = storedEarlier())
                return *earlier;
            const SaveOutcome outcome = body();
            // A refusal found after the writes leaves the transaction to roll them back.
            if (!outcome.saved)
                return outcome;
            m_con.execute(QStringLiteral("insert into shop_commit_tokens (token, shopid, transid, transno, stored_at) "
                                         "values (?, ?, ?, ?, getdate())"),
                          {m_token, m_shopId, outcome.transId.value(), outcome.transNo});
            committing = true;
            tx.commit();
            return outcome;
        } catch (const ModuleError &error) {
            if (committing && m_con.isLost())
                return outcomeAfterLostCommit();
            if (isConflict(error)) {
                if (attempt >= MaxAttempts)
                    throw ModuleError(error.number(), m_source, ConflictMessage);
                g_retries.fetchAndAddRelaxed(1);
                continue;
            }
            // Another terminal committed the same number or id first: number again.
            if (!isDuplicateKey(error) || attempt >= MaxAttempts)
                throw;
        }
    }
}

HeaderFlags ModuleWrite::lockHeader(TransactionId id) const
{
    const QString statement =
        QStringLiteral("select whcancelled, whposted from LOsPurchaseReturnHeader where whshopid=? and whid=?")
        + (m_con.backend() == Backend::Postgres ? QStringLiteral(" for update") : QString());
    const Recordset rs = m_con.query(statement, {m_shopId, id.value()});
    if (rs.isEmpty())
        return {};
    return {true, toBool(rs.value(0, 0)), toBool(rs.value(0, 1))};
}

void ModuleWrite::lockStockRows(TransactionId id, const QList<qint32> &items) const
{
    if (m_con.backend() != Backend::Postgres)
        return;
    QVariantList values{m_shopId, m_shopId, id.value()};
    QString listed;
    for (qint32 item : items) {
        listed += QStringLiteral(",?");
        values << item;
    }
    m_con.query(QStringLiteral("select itemid from mosShopStock where shopid = ? and (itemid in (select wditemid from "
                               "LOsPurchaseReturnDetail where wdshopid = ? and wdid = ?) or itemid in (-1")
                    + listed + QStringLiteral(")) order by itemid for update"),
                values);
}

} // namespace shop
