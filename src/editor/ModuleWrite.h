#pragma once

#include "common/core/TransactionId.h"
#include <rtnmod08/Connection.h>
#include "common/ui/Ui.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace shop {

// What became of a save or a cancellation.
// The audit row of a save: the window that asked for it writes it with what the
// clerk changed there.
struct AuditNote {
    qint32 transId = 0;
    QString transNo;
    QString mode;
};

struct SaveOutcome {
    bool saved = false;
    QString refusal;            // the message when it was refused; nothing of it is stored
    MsgIcon icon = MsgIcon::None;
    TransactionId transId;      // the stored transaction's id
    QString transNo;            // its document number
    std::optional<AuditNote> audit{}; // set when the save went through
};

// The header flags a writer reads under its lock.
struct HeaderFlags {
    bool found = false;
    bool cancelled = false;
    bool posted = false;
};

// One write of the module (a save, a cancellation) as one database transaction, in the
// order every writer keeps so that no two wait on each other crosswise: the shop's save
// lock first, then the header, then the stock rows in item order. Its token is stored
// in the same transaction. The whole transaction runs again when a number was taken by
// a terminal that committed first, or the server broke a deadlock or a serialization
// conflict by rolling it back; after the last try the clerk gets ConflictMessage. When
// the connection goes at COMMIT, the token tells whether it was stored.
class ModuleWrite {
public:
    static constexpr int MaxAttempts = 5;
    static const QString ConflictMessage;
    static const QString CommitUnknownMessage;

    // An empty token gets one of its own: the caller then has no second Ok to guard.
    ModuleWrite(Connection &con, qint32 shopId, QString token, QString source);

    // Runs `body` after the shop's lock is held. A stored outcome commits with its
    // token; a refusal rolls everything back. A token stored by an earlier Ok comes
    // back as stored without `body` running.
    SaveOutcome run(const std::function<SaveOutcome()> &body);

    // The header of a stored entry, read and locked (on SQLite the transaction's file
    // lock covers it).
    HeaderFlags lockHeader(TransactionId id) const;
    // The shop's stock rows of the entry's stored lines and of `items`, locked in item order.
    void lockStockRows(TransactionId id, const QList<qint32> &items) const;

    // How many times a transaction of this program ran again after a conflict.
    static int retriesTaken();

private:
    std::optional<SaveOutcome> storedEarlier() const;
    SaveOutcome outcomeAfterLostCommit() const;

    Connection &m_con;
    qint32 m_shopId;
    QString m_token;
    QString m_source;
};

// A new token for a write, kept by the window from its first Ok to its last.
QString newWriteToken();

} // namespace shop
