#include "register/RegisterRow.h"

#include "common/core/Conversions.h"
#include "register/BrowseGrid.h"
#include "register/RegisterGrid.h"

namespace shop {

RegisterRow RegisterRow::current(const RegisterGrid &grid, bool mayChangeBackDated)
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
