#pragma once

#include <QString>

namespace shop {

class FlexGrid;
class TextTable;

// Grid utilities shared by the windows. They work alike on the grids on screen and on
// the editor's hidden allocation tables: row 0 holds the captions, data rows follow.

// Whether two data rows hold the same text in a column (trimmed, without regard to
// case; two empty cells count as the same). `row` is set to the later of the two.
bool fnFindDuplicateRow(const FlexGrid &grid, int col, int &row);
bool fnFindDuplicateRow(const TextTable &table, int col, int &row);

// Removes every data row whose text in the column is exactly `value`.
void RemoveGridRows(FlexGrid &grid, int col, const QString &value);
void RemoveGridRows(TextTable &table, int col, const QString &value);

} // namespace shop
