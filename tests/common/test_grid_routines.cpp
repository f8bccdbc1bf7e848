#include "common/FlexGrid.h"
#include "common/GridRoutines.h"
#include "common/TextTable.h"
#include "support/ModuleStateScope.h"
#include "support/RecordingErrorTracker.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

namespace {

// The same rows in a grid on screen and in an allocation table.
const QStringList kRows{"1\tA-1", "2\t", "3\ta-1 ", "4\t", "5\tA-1"};

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
        table.addRow(line.split(QLatin1Char('\t')));
}

QStringList ids(const FlexGrid &grid)
{
    QStringList texts;
    for (int r = 1; r < grid.rows(); ++r)
        texts << grid.textMatrix(r, 0);
    return texts;
}

QStringList ids(const TextTable &table)
{
    QStringList texts;
    for (int r = 1; r < table.rowCount(); ++r)
        texts << table.text(r, 0);
    return texts;
}

} // namespace

template <typename Grid>
class GridRoutinesOn : public ::testing::Test {
protected:
    Grid grid;
};
using GridKinds = ::testing::Types<FlexGrid, TextTable>;
TYPED_TEST_SUITE(GridRoutinesOn, GridKinds);

TYPED_TEST(GridRoutinesOn, DuplicatesIgnoreCaseAndBlanks)
{
    fill(this->grid, kRows);
    int row = 0;
    EXPECT_TRUE(fnFindDuplicateRow(this->grid, 1, row));
    EXPECT_EQ(row, 3) << "\"A-1\" and \"a-1 \" are the same";
    RemoveGridRows(this->grid, 1, QStringLiteral("A-1"));
    row = 0;
    EXPECT_TRUE(fnFindDuplicateRow(this->grid, 1, row));
    EXPECT_EQ(row, 3) << "two empty cells are duplicates";
}

TYPED_TEST(GridRoutinesOn, RemovesEveryExactMatchAndNothingElse)
{
    fill(this->grid, kRows);
    RemoveGridRows(this->grid, 1, QStringLiteral("A-1"));
    EXPECT_EQ(ids(this->grid), (QStringList{"2", "3", "4"}));
    RemoveGridRows(this->grid, 1, QString());
    EXPECT_EQ(ids(this->grid), (QStringList{"3"}));
    int row = 0;
    EXPECT_FALSE(fnFindDuplicateRow(this->grid, 1, row));
    EXPECT_EQ(row, 0);
}

class UpdateEditedRowOnDemo : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    test::ModuleStateScope state{db.con};
    FlexGrid grid;

    void SetUp() override
    {
        state->gintShopID = 1;
        state->gstrListQuery = QStringLiteral(
            "select whid, whno, whdate, whusername,case whcancelled  when 1 then 'Yes' when 0 then 'No' end, "
            "case whposted  when 1 then 'Yes' when 0 then 'No' end, "
            "case whtransfinished  when 1 then 'Yes' when 0 then 'No' end from LOsPurchaseReturnHeader "
            "where whdate >= '20261101' and whshopid = 1 and whOtherDepId Is Null order by whid");
        grid.setCols(7);
        grid.setRows(2); // an empty register: one blank row
    }
};

TEST_P(UpdateEditedRowOnDemo, FirstNewEntryFillsTheBlankRowLaterOnesAreAppended)
{
    state->gstrMode = QStringLiteral("N");
    UpdateEditedRow(grid, QStringLiteral(" whID=3"), 3);
    ASSERT_EQ(grid.rows(), 2);
    EXPECT_EQ(grid.textMatrix(1, 0), QStringLiteral("3"));
    EXPECT_EQ(grid.textMatrix(1, 1), QStringLiteral("PR3"));
    EXPECT_EQ(grid.textMatrix(1, 2), QStringLiteral("28/11/2026"));
    EXPECT_EQ(grid.textMatrix(1, 5), QStringLiteral("Yes"));

    UpdateEditedRow(grid, QStringLiteral(" whID = 5"), 5);
    ASSERT_EQ(grid.rows(), 3);
    EXPECT_EQ(grid.textMatrix(2, 0), QStringLiteral("5"));
    EXPECT_EQ(grid.textMatrix(2, 3), QStringLiteral("nina"));
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(grid.selectedRowCount(), 1);

    UpdateEditedRow(grid, QStringLiteral(" whID=999"), 999);
    EXPECT_EQ(grid.rows(), 3) << "nothing to show for an id the list does not hold";
}

TEST_P(UpdateEditedRowOnDemo, StoredEntryRefreshesTheCurrentRowButItsId)
{
    grid.addItem(QStringLiteral("2\tPR2\t\tnina\tNo\tNo\tNo"));
    grid.setTextMatrix(1, 0, QStringLiteral("keep"));
    grid.setRow(1);
    state->gstrMode = QStringLiteral("E");
    UpdateEditedRow(grid, QStringLiteral(" whID=2"), 2);
    EXPECT_EQ(grid.textMatrix(1, 0), QStringLiteral("keep"));
    EXPECT_EQ(grid.textMatrix(1, 1), QStringLiteral("PR2"));
    EXPECT_EQ(grid.textMatrix(1, 4), QStringLiteral("Yes")) << "the entry was cancelled";
    EXPECT_EQ(grid.textMatrix(2, 1), QStringLiteral("PR2")) << "other rows are left";
}

TEST_P(UpdateEditedRowOnDemo, FailureIsReportedNotRaised)
{
    test::ErrorTrackerScope tracker;
    state->gstrListQuery = QStringLiteral("select nothing from nowhere");
    EXPECT_NO_THROW(UpdateEditedRow(grid, QStringLiteral(" whID=3"), 3));
    ASSERT_EQ(tracker.reports().size(), 1u);
    EXPECT_EQ(tracker.reports()[0].moduleName, QStringLiteral("BasWriteoff"));
    EXPECT_EQ(tracker.reports()[0].routine, QStringLiteral("UpdateEditedRow"));
    EXPECT_TRUE(tracker.reports()[0].showToUser);
}

SHOP_ON_ALL_BACKENDS(UpdateEditedRowOnDemo);
