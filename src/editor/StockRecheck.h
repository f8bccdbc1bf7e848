#pragma once

#include "common/db/Connection.h"
#include "editor/IssueLedgers.h"

#include <QString>
#include <optional>

namespace shop {

// The last look at the stock before a return is committed. Balances are checked when a
// line is entered, but another terminal may take the same stock before this one saves.
// Run inside the save's transaction after every row of the return is written (and under
// the shop's save lock, so that no other save of the shop runs meanwhile): each item's
// stock, and each location, batch and serial balance the return takes, must not be
// below zero. The return's own earlier rows are gone by then, so what it took before
// counts as available. Gives the message naming what is short, or nothing.
std::optional<QString> stockShortfall(Connection &con, const LedgerOwner &owner, bool byLocation);

} // namespace shop
