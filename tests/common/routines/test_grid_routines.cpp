#include "common/ui/FlexGrid.h"
#include "common/routines/GridRoutines.h"
#include "common/core/TextTable.h"

#include <gtest/gtest.h>

using namespace shop;

namespace {

void fill(FlexGrid &grid, const QStringList &lines)
{
    grid.setCols(2);
    grid.setRows(1);
    for (const QString &line : lines)
        grid.addItem(line);
}
void fill(TextTable &table, const QStringList &lines)
{
    for (const QString &line : lines)
        table.addRow(line.split('\t'));
}

QString cell(const FlexGrid &grid, int row) { return grid.textMatrix(row, 0); }
QString cell(const TextTable &table, int row) { return table.text(row, 0); }
int rowsOf(const FlexGrid &grid) { return grid.rows(); }
int rowsOf(const TextTable &table) { return table.rowCount(); }

template <typename Grid>
QStringList ids(const Grid &grid)
{
    QStringList texts;
    for (int r = 1; r < rowsOf(grid); ++r)
        texts << cell(grid, r);
    return texts;
}

} // namespace

// The same routines serve the grids on screen and the editor's allocation tables.
template <typename Grid>
class GridRoutinesOn : public ::testing::Test {};
using GridKinds = ::testing::Types<FlexGrid, TextTable>;
TYPED_TEST_SUITE(GridRoutinesOn, GridKinds);

TYPED_TEST(GridRoutinesOn, DuplicatesIgnoreCaseAndBlanksAndRemovalTakesExactMatchesOnly)
{
    TypeParam grid;
    fill(grid, {"1\tA-1", "2\t", "3\ta-1 ", "4\t", "5\tA-1"});
    int row = 0;
    EXPECT_TRUE(fnFindDuplicateRow(grid, 1, row));
    EXPECT_EQ(row, 3) << "\"A-1\" and \"a-1 \" are the same";

    RemoveGridRows(grid, 1, "A-1");
    EXPECT_EQ(ids(grid), (QStringList{"2", "3", "4"}));
    row = 0;
    EXPECT_TRUE(fnFindDuplicateRow(grid, 1, row));
    EXPECT_EQ(row, 3) << "two empty cells are duplicates";

    RemoveGridRows(grid, 1, QString());
    EXPECT_EQ(ids(grid), (QStringList{"3"}));
    row = 0;
    EXPECT_FALSE(fnFindDuplicateRow(grid, 1, row));
    EXPECT_EQ(row, 0);
}
