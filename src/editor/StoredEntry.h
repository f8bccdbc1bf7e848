#pragma once

#include "common/core/Session.h"
#include "common/core/TransactionId.h"
#include "stock/Ledgers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace shop {

class Connection;

// A stored purchase return read back for the editor, without any window: its
// header, its item lines (detail rows of one item merged into one line) and its
// location, expiry and serial issue rows as the editor's allocation tables hold them.

struct StoredHeader {
    QString number;
    QString dateText; // as the editor shows dates
    QString userName;
    QString remarks;
    QString approvedBy;
    QString receivedBy;
    bool confirmed = false;
    bool posted = false;          // posted to the journal
    QVariant otherDepartmentId;   // null when the entry went to no other department
    QVariant apartmentId;         // null when no apartment was recorded
    QString version;              // as storedReturnVersion gives it
};

// The stored return's state as far as another terminal can change it: when it was last
// saved, and whether it is cancelled, posted or confirmed. Empty when it is gone.
QString storedReturnVersion(Connection &con, const Session &session, TransactionId id);

// How the register's row shows the entry; it decides which stock figure a line shows.
struct StoredFlags {
    bool cancelled = false;
    bool confirmed = false;
};

// The header of the session shop's entry; raises a module error when the entry is not there.
StoredHeader readStoredHeader(Connection &con, const Session &session, TransactionId id);

// One line per item of the session's shop, in the editor's column order, the quantities of the item's detail
// rows summed. The available quantity shown is the item's stock in the shop now, the
// cost price the item's rate now; the figures the rows were stored with follow the shown
// columns (line::StoredAvailableQty, line::StoredCostPrice).
QList<QStringList> readStoredLines(Connection &con, const Session &session, TransactionId id, const StoredFlags &flags);

// The entry's issue rows of this module in one ledger, each numbered from 1 in column
// 0, in the columns of the editor's allocation table for that ledger.
QList<QStringList> readStoredAllocations(Connection &con, const Session &session, TransactionId id, IssueLedger ledger);

} // namespace shop
