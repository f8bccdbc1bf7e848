#pragma once

#include "common/core/Decimal.h"
#include "common/core/TextTable.h"

#include <QString>

namespace shop {

// The three allocation tables of a return: from which storage locations, expiry batches
// and serial numbers each item line's quantity goes. Row 0 is the header row; each data
// row is tied to its item line by the item id. These column meanings are the one
// declaration the editor, the loading of a stored return, the save and the item window
// read.
enum class AllocationKind { Location, Expiry, Serial };

namespace locationcol {
enum Column { Row = 0, LocationName = 1, Quantity = 2, LocationId = 3, PackingTypeId = 4, PackingQty = 5, ItemId = 6 };
}
namespace expirycol {
enum Column { Row = 0, BatchNo = 1, ExpiryDate = 2, Quantity = 3, PackingTypeId = 4, PackingQty = 5, ItemId = 6 };
}
namespace serialcol {
enum Column { Row = 0, ItemId = 1, SerialNo = 2, Quantity = 3, PackingTypeId = 4, PackingQty = 5 };
}

// Every allocation table has this many columns (the serial table leaves its last one empty).
inline constexpr int AllocationColumnCount = 7;

struct AllocationColumns {
    int quantity;
    int itemId;
};

constexpr AllocationColumns allocationColumns(AllocationKind kind)
{
    switch (kind) {
    case AllocationKind::Location:
        return {locationcol::Quantity, locationcol::ItemId};
    case AllocationKind::Expiry:
        return {expirycol::Quantity, expirycol::ItemId};
    case AllocationKind::Serial:
        break;
    }
    return {serialcol::Quantity, serialcol::ItemId};
}

// Whether a data row of the table belongs to the item (ids compared without blanks).
bool isRowOfItem(const TextTable &table, AllocationKind kind, int row, const QString &itemId);

// The exact sum of the quantity column over the rows of one item, each cell read as a
// leading number (0.1 + 0.2 is 0.3, never 0.30000000000000004).
Decimal allocatedQuantity(const TextTable &table, AllocationKind kind, const QString &itemId);

} // namespace shop
