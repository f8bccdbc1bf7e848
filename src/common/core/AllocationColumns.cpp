#include "common/core/AllocationColumns.h"

#include "common/core/Conversions.h"

namespace shop {

bool isRowOfItem(const TextTable &table, AllocationKind kind, int row, const QString &itemId)
{
    return table.text(row, allocationColumns(kind).itemId).trimmed() == itemId.trimmed();
}

Decimal allocatedQuantity(const TextTable &table, AllocationKind kind, const QString &itemId)
{
    Decimal sum;
    const int quantity = allocationColumns(kind).quantity;
    for (int r = 1; r < table.rowCount(); ++r)
        if (isRowOfItem(table, kind, r, itemId))
            sum += valDecimal(table.text(r, quantity));
    return sum;
}

} // namespace shop
