#pragma once

#include "common/core/EntryMode.h"

#include "common/core/AllocationColumns.h"
#include "common/core/TextTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace shop {

// Columns of an item line of the editor's list, every cell held as text.
namespace line {
enum Column {
    SlNo = 0,
    Shipment = 1,
    ItemCode = 2,
    Description = 3,
    AvailableQty = 4,
    ReturnQty = 5,
    ShipmentId = 6,
    ItemId = 7,
    CostPrice = 8,
    Unit = 9,
    ColumnCount = 10
};
// Out of sight after the shown columns: the figures a stored line was saved with. A line
// read back from the database carries them, so that a line the clerk leaves alone is
// saved with them again; a line the item window writes has none and is saved with what
// it shows.
enum StoredColumn { StoredAvailableQty = ColumnCount, StoredCostPrice, StoredCellCount };
}

using ItemLine = QStringList; // line::ColumnCount cells, line::StoredCellCount for a stored line

// The figure a line is saved with: the stored one while the line carries it, else the shown one.
inline QString figureToSave(const ItemLine &l, line::Column shown, line::StoredColumn stored)
{
    return l.size() > stored ? l.at(stored) : l.value(shown);
}

// The lines of the return being entered and their three allocation tables: what the
// editor shows in its list and keeps out of sight, and what the item window adds,
// replaces and steps through. One line per item. The current line is the one F10,
// Edit and Delete act on. Line numbers ("SlNo") follow the lines' positions.
// The editor listens for changes and redraws its list.
class EntryLines {
public:
    int count() const { return static_cast<int>(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const ItemLine &at(int position) const { return m_lines.at(position); }
    const QList<ItemLine> &lines() const { return m_lines; }
    QString itemIdAt(int position) const { return at(position).value(line::ItemId).trimmed(); }

    // The current line's position, if there is one.
    std::optional<int> current() const;
    // A position outside the lines leaves no line current.
    void select(int position);

    // Puts a line at the position (the end when past it), moving the lines from there
    // down by one; the new line becomes the current one. Returns its position.
    int insertAt(int position, ItemLine cells);
    int add(ItemLine cells) { return insertAt(count(), std::move(cells)); }
    // Puts a line in place of the one at the position, the others staying where they are.
    void replaceAt(int position, ItemLine cells);
    // Takes the line out (its allocations stay; see removeAllocations). The line that
    // moves into its place, else the one before it, becomes the current one.
    void removeAt(int position);
    void clear();

    // The position of the item's line.
    std::optional<int> findItem(const QString &itemId) const;

    TextTable &allocations(AllocationKind kind);
    const TextTable &allocations(AllocationKind kind) const;
    // Row numbers (1-based, as in the table) of one item's allocations.
    QList<int> allocationRows(AllocationKind kind, const QString &itemId) const;
    // Takes every location, batch and serial row of the item out of the three tables.
    void removeAllocations(const QString &itemId);
    void clearAllocations();

    // What the item window is opened for; nothing before it first opens.
    std::optional<LineMode> lineMode;
    // Set when a confirmed line changed anything, allocations included.
    bool changed = false;

    // Called after every change of the lines or of the current line.
    void setObserver(std::function<void()> observer) { m_observer = std::move(observer); }

private:
    void renumber();
    void notify() const;

    QList<ItemLine> m_lines;
    int m_current = -1;
    TextTable m_locations{AllocationColumnCount};
    TextTable m_expiry{AllocationColumnCount};
    TextTable m_serials{AllocationColumnCount};
    std::function<void()> m_observer;
};

} // namespace shop
