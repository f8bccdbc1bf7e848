#pragma once

#include <QtGlobal>

namespace shop {

// Whether the item is tracked by expiry date and batch (ExpiryNoOfDays above 0).
bool fnItemHasExpiry(qint32 itemId);

} // namespace shop
