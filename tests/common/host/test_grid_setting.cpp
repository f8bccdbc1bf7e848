#include "common/host/DefaultGridSetting.h"
#include "support/TestDatabase.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

namespace {

std::unique_ptr<QTableWidget> makeGrid()
{
    auto grid = std::make_unique<QTableWidget>(3, 3);
    grid->setObjectName("flxLocations");
    grid->resize(500, 200);
    for (int c = 0; c < 3; ++c)
        grid->setColumnWidth(c, 100);
    grid->show();
    return grid;
}

// Drags the right edge of a column's header as the user would.
void dragColumnEdge(QTableWidget &grid, int column, int by)
{
    QHeaderView *header = grid.horizontalHeader();
    QWidget *area = header->viewport();
    const QPoint edge(header->sectionViewportPosition(column) + header->sectionSize(column) - 1, header->height() / 2);
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(area, edge + QPoint(by / 2, 0));
    QTest::mouseMove(area, edge + QPoint(by, 0));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, edge + QPoint(by, 0));
}

} // namespace

class GridSettingsOnBackend : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam()};
};

TEST_P(GridSettingsOnBackend, DraggedWidthsAreStoredAndComeBack)
{
    DefaultGridSetting settings;
    {
        auto grid = makeGrid();
        settings.fnGridSettings(1, 1, grid.get(), db.con);
        grid->setColumnWidth(0, 60); // the window's own layout is not the user's choice
        EXPECT_EQ(db.con->scalar("select count(*) from shop_grid_settings").toInt(), 0);

        dragColumnEdge(*grid, 1, 40);
        ASSERT_GT(grid->columnWidth(1), 100);
        EXPECT_EQ(db.con->scalar("select width from shop_grid_settings where userid = 1 and companyid = 1 "
                                 "and grid_name = 'flxLocations' and column_index = 1").toInt(),
                  grid->columnWidth(1));
        dragColumnEdge(*grid, 1, -30);
        EXPECT_EQ(db.con->scalar("select count(*) from shop_grid_settings").toInt(), 1);
    }
    const int stored = db.con->scalar("select width from shop_grid_settings").toInt();

    auto again = makeGrid();
    settings.fnGridSettings(1, 1, again.get(), db.con);
    EXPECT_EQ(again->columnWidth(1), stored);
    EXPECT_EQ(again->columnWidth(0), 100);
}

SHOP_ON_ALL_BACKENDS(GridSettingsOnBackend);
