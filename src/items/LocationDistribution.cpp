#include "items/LocationDistribution.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include "common/ui/AllocationModel.h"

namespace shop {

namespace {

QStringList row(int number, const LocationBalance &location, const QString &quantity, const QString &plain,
                const QString &itemId)
{
    QStringList cells(8);
    cells[locationcol::Row] = QString::number(number);
    cells[locationcol::LocationName] = location.locationName.trimmed();
    cells[locationcol::Quantity] = quantity;
    cells[locationcol::LocationId] = QString::number(location.locationId);
    cells[locationcol::PackingQty] = plain;
    cells[locationcol::ItemId] = itemId;
    cells[7] = formatNumber(location.quantity, QStringLiteral("#.000"));
    return cells;
}

} // namespace

QList<QStringList> distributeOverLocations(const QList<LocationBalance> &balances, Decimal quantity,
                                           const QString &itemId)
{
    QList<QStringList> rows;
    Decimal remaining = quantity;
    for (const LocationBalance &location : balances) {
        if (location.quantity <= remaining) {
            const QString whole = quantityText(location.quantity);
            rows << row(static_cast<int>(rows.size()) + 1, location, whole, whole, itemId);
            remaining = remaining - location.quantity;
            if (remaining.isZero())
                break;
            continue;
        }
        rows << row(static_cast<int>(rows.size()) + 1, location, formatNumber(remaining, fmt::Stock),
                    quantityText(remaining), itemId);
        break;
    }
    return rows;
}

} // namespace shop
