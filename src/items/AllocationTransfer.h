#pragma once

#include "common/core/AllocationColumns.h"

#include <QList>
#include <QStringList>

namespace shop {

class EntryLines;

// Between an item window's grid and the editor's allocation table of the same kind:
// the rows of one item, tied to it by its item id.

// The item's rows as the table holds them.
QList<QStringList> allocationRowsOfItem(const EntryLines &lines, AllocationKind kind, const QString &itemId);
// Puts the grid's rows in place of the item's rows in the table: the item's rows go
// first, then one row per grid row is appended with the item id.
void storeAllocationRows(EntryLines &lines, AllocationKind kind, const QString &itemId, const QList<QStringList> &rows);

} // namespace shop
