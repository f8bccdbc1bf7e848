#pragma once

#include "common/db/Connection.h"
#include "common/core/TextTable.h"

namespace shop {

// The three issue ledgers that the module shares with the rest of the suite. A row
// belongs to the module by its interface id, the shop and the transaction id.
enum class IssueLedger { Location, Expiry, Serial };

struct LedgerOwner {
    qint32 interfaceId = 0;
    qint32 shopId = 0;
    qint32 transId = 0;
};

// The owner's rows of a ledger: "FROM <ledger> WHERE <interface> = ? AND <shop> = ?
// AND <transaction> = ?", taking the interface id, the shop and the transaction id.
QString issueLedgerOwnerRows(IssueLedger ledger);

// Replaces the owner's rows of a ledger with one row per allocation row of the
// table, numbered 1, 2, ... in table order.
void rewriteIssueLedger(Connection &con, IssueLedger ledger, const TextTable &allocations, const LedgerOwner &owner);

// Flags the owner's rows of a ledger cancelled, so that they no longer count in any balance.
void cancelIssueLedger(Connection &con, IssueLedger ledger, const LedgerOwner &owner);

} // namespace shop
