#include "register/RegisterRow.h"

#include "common/core/Conversions.h"
#include "common/ui/FlexGrid.h"
#include "register/BrowseGrid.h"

namespace shop {

RegisterRow RegisterRow::current(const FlexGrid &grid, bool mayChangeBackDated)
{
    const int row = grid.row();
    const auto isYes = [&](int column) { return grid.textMatrix(row, column) == QLatin1String("Yes"); };
    RegisterRow r;
    r.id = TransactionId::fromText(grid.textMatrix(row, BrowseGrid::IdColumn));
    r.listing.date = parseDate(grid.textMatrix(row, BrowseGrid::DateColumn));
    r.listing.cancelled = isYes(BrowseGrid::CancelledColumn);
    r.listing.posted = isYes(BrowseGrid::PostedColumn);
    r.listing.confirmed = isYes(BrowseGrid::ConfirmedColumn);
    r.listing.mayChangeBackDated = mayChangeBackDated;
    return r;
}

} // namespace shop
