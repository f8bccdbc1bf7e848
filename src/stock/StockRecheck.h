#pragma once

#include <rtnmod08/Connection.h>
#include "stock/Ledgers.h"

#include "common/core/Decimal.h"

#include <QHash>
#include <QString>
#include <optional>

namespace shop {

// What a stored return holds before its save rewrites it: its returned quantity of each
// item and its issue quantity at each location, batch and serial number. A new return
// holds nothing.
struct HeldStock {
    QHash<QString, Decimal> quantities;
};
HeldStock heldByReturn(Connection &con, const LedgerOwner &owner, bool byLocation);

// The last look at the stock before a return is committed. Balances are checked when a
// line is entered, but another terminal may take the same stock before this one saves.
// Run inside the save's transaction after every row of the return is written (and under
// the shop's save lock, so that no other save of the shop runs meanwhile): each item's
// stock, and each location, batch and serial balance the return takes, must not be left
// below zero by taking more than the return held there before (`held`). A place that was
// already short and that the return takes no more from is left alone: an edit that gives
// stock back is never refused. Gives the message naming what is short, or nothing; it
// suggests another terminal only when the place was not already short before the save.
std::optional<QString> stockShortfall(Connection &con, const LedgerOwner &owner, bool byLocation,
                                      const HeldStock &held = {});

} // namespace shop
