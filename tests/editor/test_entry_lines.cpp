#include "editor/EntryLines.h"

#include <gtest/gtest.h>

namespace shop {
namespace {

ItemLine lineOf(const QString &itemId) { return {"", "1", "C" + itemId, "Item " + itemId, "10", "1", "1", itemId, "2", "PCS"}; }

QStringList itemsOf(const EntryLines &lines)
{
    QStringList out;
    for (const ItemLine &l : lines.lines())
        out << l.at(line::SlNo) + ":" + l.at(line::ItemId);
    return out;
}

TEST(EntryLines, AddInsertReplaceAndRemoveKeepTheOtherLinesNumberedAndMoveTheCurrentLine)
{
    EntryLines lines;
    int notified = 0;
    lines.setObserver([&] { ++notified; });
    EXPECT_FALSE(lines.current());

    lines.add(lineOf("5"));
    lines.add(lineOf("1"));
    lines.add(lineOf("3"));
    EXPECT_EQ(itemsOf(lines), QStringList({"1:5", "2:1", "3:3"}));
    EXPECT_EQ(lines.current(), 2) << "the line just added is current";

    lines.replaceAt(1, lineOf("4"));
    EXPECT_EQ(itemsOf(lines), QStringList({"1:5", "2:4", "3:3"})) << "replacing keeps the others in place";
    EXPECT_EQ(lines.current(), 1);

    lines.insertAt(0, lineOf("9"));
    EXPECT_EQ(itemsOf(lines), QStringList({"1:9", "2:5", "3:4", "4:3"}));
    EXPECT_EQ(lines.findItem(" 4 "), 2);
    EXPECT_FALSE(lines.findItem("7"));

    lines.removeAt(3);
    EXPECT_EQ(lines.current(), 2) << "removing the last line makes the one before it current";
    lines.removeAt(0);
    EXPECT_EQ(itemsOf(lines), QStringList({"1:5", "2:4"}));
    EXPECT_EQ(lines.current(), 0) << "the line moving into the removed one's place is current";

    lines.select(5);
    EXPECT_FALSE(lines.current());
    EXPECT_GT(notified, 6);
}

TEST(EntryLines, AllocationsOfOneItemAreFoundSummedExactlyAndRemovedFromAllThreeTables)
{
    EntryLines lines;
    TextTable &locations = lines.allocations(AllocationKind::Location);
    locations.addRow({"1", "Front shelf", "0.1", "1", "", "0", "5"});
    locations.addRow({"2", "Cold room", "4", "3", "", "0", "1"});
    locations.addRow({"3", "Back store", "0.2", "2", "", "0", " 5"});
    lines.allocations(AllocationKind::Expiry).addRow({"1", "B1", "2026-12-11", "0.3", "", "0", "5"});
    lines.allocations(AllocationKind::Serial).addRow({"1", "5", "SN-1", "1", "", "0"});
    lines.allocations(AllocationKind::Serial).addRow({"2", "3", "SN-2", "1", "", "0"});

    EXPECT_EQ(lines.allocationRows(AllocationKind::Location, "5"), QList<int>({1, 3}));
    EXPECT_EQ(allocatedQuantity(locations, AllocationKind::Location, "5"), Decimal::fromThousandths(300));
    EXPECT_EQ(allocatedQuantity(lines.allocations(AllocationKind::Expiry), AllocationKind::Expiry, "5"),
              Decimal::fromThousandths(300));

    lines.removeAllocations("5");
    EXPECT_EQ(locations.dataRowCount(), 1);
    EXPECT_EQ(locations.text(1, locationcol::ItemId), "1");
    EXPECT_FALSE(lines.allocations(AllocationKind::Expiry).hasData());
    EXPECT_EQ(lines.allocationRows(AllocationKind::Serial, "3"), QList<int>({1}));
}

} // namespace
} // namespace shop
