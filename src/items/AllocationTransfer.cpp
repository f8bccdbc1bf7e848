#include "items/AllocationTransfer.h"

#include "editor/EntryLines.h"

namespace shop {

namespace {

// The columns a grid row carries into the table as they stand; the item id column is
// written from the line.
QList<int> copiedColumns(AllocationKind kind)
{
    if (kind == AllocationKind::Serial)
        return {serialcol::Row, serialcol::SerialNo, serialcol::Quantity, serialcol::PackingTypeId, serialcol::PackingQty};
    return {0, 1, 2, 3, 4, 5};
}

} // namespace

QList<QStringList> allocationRowsOfItem(const EntryLines &lines, AllocationKind kind, const QString &itemId)
{
    // The grid reads each quantity exactly, so it shows the same whichever database it
    // came from.
    const TextTable &table = lines.allocations(kind);
    QList<QStringList> rows;
    for (int r : lines.allocationRows(kind, itemId))
        rows << table.row(r);
    return rows;
}

void storeAllocationRows(EntryLines &lines, AllocationKind kind, const QString &itemId, const QList<QStringList> &rows)
{
    TextTable &table = lines.allocations(kind);
    const QList<int> old = lines.allocationRows(kind, itemId);
    for (auto r = old.crbegin(); r != old.crend(); ++r)
        table.removeRow(*r);
    const int itemColumn = allocationColumns(kind).itemId;
    for (const QStringList &row : rows) {
        QStringList cells(table.columnCount());
        for (int c : copiedColumns(kind))
            cells[c] = row.value(c);
        cells[itemColumn] = itemId.trimmed();
        table.addRow(cells);
    }
}

} // namespace shop
