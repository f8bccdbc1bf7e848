#pragma once

#include <rtnmod08/Connection.h>
#include "common/core/TextTable.h"
#include "stock/Ledgers.h"

#include <QList>
#include <QStringList>

namespace shop {

// The owner's rows of a ledger: "FROM <ledger> WHERE <interface> = ? AND <shop> = ?
// AND <transaction> = ?", taking the interface id, the shop and the transaction id.
QString issueLedgerOwnerRows(IssueLedger ledger);

// Replaces the owner's rows of a ledger with one row per allocation row of the
// table, numbered 1, 2, ... in table order.
void rewriteIssueLedger(Connection &con, IssueLedger ledger, const TextTable &allocations, const LedgerOwner &owner);

// Flags the owner's rows of a ledger cancelled, so that they no longer count in any balance.
void cancelIssueLedger(Connection &con, IssueLedger ledger, const LedgerOwner &owner);

// The owner's rows of a ledger in detail order, each numbered from 1 in column 0, in the
// columns of the editor's allocation tables (a location row with its location's name).
QList<QStringList> readIssueLedger(Connection &con, IssueLedger ledger, const LedgerOwner &owner);

} // namespace shop
