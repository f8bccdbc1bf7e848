#include "common/routines/GridRoutines.h"

#include "common/core/Conversions.h"
#include "common/ui/FlexGrid.h"
#include "common/core/TextTable.h"

namespace shop {

namespace {

// The one way the routines below reach rows, whichever kind of grid they are given.
int rowsOf(const FlexGrid &grid) { return grid.rows(); }
int rowsOf(const TextTable &table) { return table.rowCount(); }
QString textOf(const FlexGrid &grid, int row, int col) { return grid.textMatrix(row, col); }
QString textOf(const TextTable &table, int row, int col) { return table.text(row, col); }
void removeRowOf(FlexGrid &grid, int row) { grid.removeItem(row); }
void removeRowOf(TextTable &table, int row) { table.removeRow(row); }

template <typename Grid>
bool findDuplicateRow(const Grid &grid, int col, int &row)
{
    const int last = rowsOf(grid) - 1;
    for (int r = 1; r < last; ++r) {
        const QString text = textOf(grid, r, col).trimmed().toUpper();
        for (int r2 = r + 1; r2 <= last; ++r2) {
            if (textOf(grid, r2, col).trimmed().toUpper() == text) {
                row = r2;
                return true;
            }
        }
    }
    return false;
}

template <typename Grid>
void removeRows(Grid &grid, int col, const QString &value)
{
    for (int r = rowsOf(grid) - 1; r >= 1; --r) {
        if (textOf(grid, r, col) == value)
            removeRowOf(grid, r);
    }
}

} // namespace

bool fnFindDuplicateRow(const FlexGrid &grid, int col, int &row) { return findDuplicateRow(grid, col, row); }
bool fnFindDuplicateRow(const TextTable &table, int col, int &row) { return findDuplicateRow(table, col, row); }
void RemoveGridRows(FlexGrid &grid, int col, const QString &value) { removeRows(grid, col, value); }
void RemoveGridRows(TextTable &table, int col, const QString &value) { removeRows(table, col, value); }

} // namespace shop
