#pragma once

#include "common/Connection.h"

namespace shop {

// Shop and item facts that decide how a purchase return is checked and stored.

// The shop keeps its stock by storage location (fnLocationArrangement).
bool fnLocationArrangement(const ConnectionPtr &con, qint32 shopId);
// The item is tracked by expiry date and batch (ExpiryNoOfDays above 0).
bool fnItemHasExpiry(Connection &con, qint32 itemId);

} // namespace shop
