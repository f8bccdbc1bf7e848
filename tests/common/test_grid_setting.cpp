#include "common/DefaultFormColour.h"
#include "common/DefaultGridSetting.h"
#include "common/ModuleState.h"
#include "support/TestDatabase.h"

#include <QDialog>
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

// Module-wide state of the test, put back afterwards.
struct ModuleStateScope {
    ModuleState saved = moduleState();
    ~ModuleStateScope() { moduleState() = saved; }
};

} // namespace

class WindowSettingsOnBackend : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam()};
};

TEST_P(WindowSettingsOnBackend, DraggedWidthsAreStoredAndComeBack)
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

    auto otherUser = makeGrid();
    settings.fnGridSettings(2, 1, otherUser.get(), db.con);
    EXPECT_EQ(otherUser->columnWidth(1), 100);

    ConnectionPtr closed = std::make_shared<Connection>();
    settings.fnGridSettings(1, 1, otherUser.get(), closed); // no database: nothing happens
}

TEST_P(WindowSettingsOnBackend, CompanyColoursAreApplied)
{
    ModuleStateScope restore;
    db.con->execute("insert into shop_form_colours (companyid, back_colour, fore_colour, button_colour) "
                    "values (1, '#203040', '#f0f0e0', '#a0b0c0')");
    moduleState().gadocon = db.con;
    DefaultFormColour colours;

    moduleState().gintCompanyID = 1;
    QDialog coloured;
    colours.Applyformcolor(&coloured);
    EXPECT_EQ(coloured.palette().color(QPalette::Window), QColor("#203040"));
    EXPECT_EQ(coloured.palette().color(QPalette::WindowText), QColor("#f0f0e0"));
    EXPECT_EQ(coloured.palette().color(QPalette::Button), QColor("#a0b0c0"));

    moduleState().gintCompanyID = 2;
    QDialog plain;
    const QColor standard = plain.palette().color(QPalette::Window);
    colours.Applyformcolor(&plain);
    EXPECT_EQ(plain.palette().color(QPalette::Window), standard);

    moduleState().gadocon = std::make_shared<Connection>();
    colours.Applyformcolor(&plain);
    moduleState().gadocon.reset();
    colours.Applyformcolor(&plain);
    EXPECT_EQ(plain.palette().color(QPalette::Window), standard);
}

SHOP_ON_ALL_BACKENDS(WindowSettingsOnBackend);
