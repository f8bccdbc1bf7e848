#pragma once

#include "common/core/Session.h"
#include "editor/PurchaseReturnEntry.h"
#include "editor/RegisterListing.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace shop {

class Connection;

// A return the clerk has not saved yet, kept in the database as it is entered so that
// a crash, a killed process or a lost terminal loses nothing typed. One per user and
// shop; nothing of it reaches the suite's tables before Ok.
struct EntryDraft {
    PurchaseReturnEntry entry; // without its commit token: a restored return saves under a new one
    // How the stored return looked when the clerk opened it (edits only), so that a
    // restore can tell whether someone else changed, cancelled or posted it meanwhile.
    QString storedVersion;
    QDateTime changedAt;
};

// The draft as the table keeps it; nothing when the bytes are not a draft.
QByteArray encodeDraft(const EntryDraft &draft);
std::optional<EntryDraft> decodeDraft(const QByteArray &bytes);

// How a draft opens again: over its stored return while nobody else has changed,
// cancelled or posted that one, else as a new return that keeps the clerk's lines and
// header but takes a number, date and name of its own.
struct DraftRestore {
    EntryDraft draft;
    bool storedChangedMeanwhile = false;
    QString storedNumber;    // of the return that was changed meanwhile
    RegisterListing listing; // of the stored return it opens over (its right "B" left to the caller)
};
DraftRestore planRestore(Connection &con, const Session &session, EntryDraft draft);

// The session user's draft in the session shop. Each write is its own short transaction
// and is never made inside another one (a save's, say): it is skipped then.
class DraftStore {
public:
    DraftStore(Connection &con, Session session);

    struct Summary {
        int lines = 0;
        QDateTime changedAt;
    };
    std::optional<Summary> summary();
    // The draft; nothing when there is none. Raises a module error for one that cannot be read.
    std::optional<EntryDraft> read();
    void write(const EntryDraft &draft);
    // The same for a draft already encoded (encodeDraft).
    void write(int lineCount, const QByteArray &body);
    void discard();
    // Removes the draft inside the caller's transaction: a save takes it with it.
    static void discardWithin(Connection &con, const Session &session);

    static const QString UnreadableMessage;

private:
    Session m_session;
    Connection &m_con;
};

} // namespace shop
