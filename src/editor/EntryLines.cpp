#include "editor/EntryLines.h"

#include <algorithm>

namespace shop {

namespace {

// Every shown column, and the stored figures when the line has them.
ItemLine padded(ItemLine cells)
{
    if (cells.size() < line::ColumnCount)
        cells.resize(line::ColumnCount);
    return cells;
}

} // namespace

std::optional<int> EntryLines::current() const
{
    if (m_current < 0 || m_current >= count())
        return std::nullopt;
    return m_current;
}

void EntryLines::select(int position)
{
    if (position < 0 || position >= count())
        position = -1;
    if (position == m_current)
        return;
    m_current = position;
    notify();
}

int EntryLines::insertAt(int position, ItemLine cells)
{
    position = std::clamp(position, 0, count());
    m_lines.insert(position, padded(std::move(cells)));
    m_current = position;
    renumber();
    notify();
    return position;
}

void EntryLines::replaceAt(int position, ItemLine cells)
{
    if (position < 0 || position >= count()) {
        add(std::move(cells));
        return;
    }
    m_lines[position] = padded(std::move(cells));
    m_current = position;
    renumber();
    notify();
}

void EntryLines::removeAt(int position)
{
    if (position < 0 || position >= count())
        return;
    m_lines.removeAt(position);
    m_current = isEmpty() ? -1 : std::min(position, count() - 1);
    renumber();
    notify();
}

void EntryLines::clear()
{
    m_lines.clear();
    m_current = -1;
    notify();
}

std::optional<int> EntryLines::findItem(const QString &itemId) const
{
    for (int i = 0; i < count(); ++i)
        if (itemIdAt(i) == itemId.trimmed())
            return i;
    return std::nullopt;
}

TextTable &EntryLines::allocations(AllocationKind kind)
{
    return const_cast<TextTable &>(std::as_const(*this).allocations(kind));
}

const TextTable &EntryLines::allocations(AllocationKind kind) const
{
    switch (kind) {
    case AllocationKind::Location:
        return m_locations;
    case AllocationKind::Expiry:
        return m_expiry;
    case AllocationKind::Serial:
        break;
    }
    return m_serials;
}

QList<int> EntryLines::allocationRows(AllocationKind kind, const QString &itemId) const
{
    const TextTable &table = allocations(kind);
    QList<int> rows;
    for (int r = 1; r < table.rowCount(); ++r)
        if (isRowOfItem(table, kind, r, itemId))
            rows << r;
    return rows;
}

void EntryLines::removeAllocations(const QString &itemId)
{
    for (AllocationKind kind : {AllocationKind::Location, AllocationKind::Expiry, AllocationKind::Serial}) {
        const QList<int> rows = allocationRows(kind, itemId);
        TextTable &table = allocations(kind);
        for (auto r = rows.crbegin(); r != rows.crend(); ++r)
            table.removeRow(*r);
    }
}

void EntryLines::clearAllocations()
{
    m_locations.clearData();
    m_expiry.clearData();
    m_serials.clearData();
}

void EntryLines::renumber()
{
    for (int i = 0; i < count(); ++i)
        m_lines[i][line::SlNo] = QString::number(i + 1);
}

void EntryLines::notify() const
{
    if (m_observer)
        m_observer();
}

} // namespace shop
