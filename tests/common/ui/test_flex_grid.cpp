#include "common/ui/FlexGrid.h"
#include <rtnmod08/ModuleError.h>

#include <gtest/gtest.h>

using namespace shop;

namespace {

QStringList column(const FlexGrid &grid, int col)
{
    QStringList texts;
    for (int r = 1; r < grid.rows(); ++r)
        texts << grid.textMatrix(r, col);
    return texts;
}

} // namespace

TEST(FlexGrid, RowZeroIsTheCaptionRowAndWidthsAreTwips)
{
    FlexGrid grid;
    grid.setCols(3);
    grid.setRows(1);
    EXPECT_EQ(grid.rowCount(), 0);
    grid.setTextMatrix(0, 1, "Return No");
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), "Return No");
    grid.addItem("7\tPR7\t01/12/2026");
    EXPECT_EQ(grid.item(0, 1)->text(), "PR7");
    EXPECT_THROW(grid.textMatrix(2, 0), ModuleError);
    grid.setColWidth(0, 0);
    EXPECT_TRUE(grid.isColumnHidden(0));
    grid.setColWidth(1, 1500);
    EXPECT_EQ(grid.columnWidth(1), 100);
    EXPECT_EQ(grid.colWidth(1), 1500);
}

TEST(FlexGrid, SortCodesKeepRowsTogether)
{
    FlexGrid grid;
    grid.setCols(2);
    grid.setRows(1);
    for (const char *line : {"1\t10", "2\tabc", "3\t9", "4\tABC", "5\t-2.5", "6\tabd"})
        grid.addItem(QString::fromLatin1(line));
    grid.setCellForeColor(3, 0, Qt::red); // the row of "9"

    grid.sort(1, FlexGrid::GenericAscending);
    EXPECT_EQ(column(grid, 1), (QStringList{"-2.5", "9", "10", "abc", "ABC", "abd"}));
    EXPECT_EQ(column(grid, 0), (QStringList{"5", "3", "1", "2", "4", "6"}));
    EXPECT_EQ(grid.cellForeColor(2, 0), QColor(Qt::red)) << "the colour moves with its row";

    grid.sort(1, FlexGrid::GenericDescending);
    EXPECT_EQ(column(grid, 1), (QStringList{"abd", "abc", "ABC", "10", "9", "-2.5"}));

    grid.sort(1, FlexGrid::StringAscending);
    EXPECT_EQ(column(grid, 1), (QStringList{"-2.5", "10", "9", "abc", "ABC", "abd"}));
    grid.sort(1, FlexGrid::StringDescending);
    EXPECT_EQ(column(grid, 1), (QStringList{"abd", "abc", "ABC", "9", "10", "-2.5"}));

    EXPECT_THROW(grid.sort(1, 3), ModuleError);
}
