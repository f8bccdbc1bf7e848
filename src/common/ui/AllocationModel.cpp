#include "common/ui/AllocationModel.h"

#include "common/core/Conversions.h"

#include <QBrush>

namespace shop {

QString quantityText(Decimal quantity)
{
    QString text = quantity.toString(3);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

AllocationModel::AllocationModel(AllocationLayout layout, QObject *parent)
    : QAbstractTableModel(parent), m_layout(std::move(layout))
{
    m_rows << emptyRow();
}

AllocationModel::Row AllocationModel::emptyRow() const { return Row{QStringList(m_layout.headers.size()), std::nullopt}; }

int AllocationModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : count(); }

int AllocationModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_layout.headers.size());
}

QVariant AllocationModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (index.column() == m_layout.quantityColumn && m_layout.fixedThree) {
            const auto q = quantity(row);
            return q ? formatNumber(*q, fmt::Fixed3) : QString();
        }
        return text(row, index.column());
    }
    if (role == Qt::TextAlignmentRole && index.column() == m_layout.quantityColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if ((role == Qt::ForegroundRole || role == Qt::ToolTipRole) && m_note) {
        const QString note = m_note(row);
        if (note.isEmpty())
            return {};
        return role == Qt::ToolTipRole ? QVariant(note) : QVariant(QBrush(Qt::red));
    }
    return {};
}

QVariant AllocationModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_layout.headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags AllocationModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == m_layout.comboColumn || index.column() == m_layout.quantityColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

void AllocationModel::reset() { setRows({}); }

void AllocationModel::setRows(const QList<QStringList> &rows)
{
    QList<Row> next;
    for (const QStringList &cells : rows) {
        Row r = emptyRow();
        for (int c = 1; c < r.cells.size(); ++c)
            r.cells[c] = cells.value(c);
        const QString q = r.cells.at(m_layout.quantityColumn);
        if (!q.trimmed().isEmpty())
            r.quantity = valDecimal(q);
        next << r;
    }
    if (next.isEmpty())
        next << emptyRow();
    // The same rows again (an empty grid emptied, the same split) leave the view as it is.
    if (next == m_rows)
        return;
    beginResetModel();
    m_rows = std::move(next);
    endResetModel();
}

QList<QStringList> AllocationModel::filledRows() const
{
    QList<QStringList> out;
    for (int r = 1; r <= count(); ++r) {
        QStringList cells = m_rows.at(r - 1).cells;
        cells[0] = QString::number(r);
        bool filled = m_rows.at(r - 1).quantity.has_value();
        for (int c = 1; c < cells.size() && !filled; ++c)
            filled = !cells.at(c).trimmed().isEmpty();
        if (filled)
            out << cells;
    }
    return out;
}

QString AllocationModel::text(int row, int col) const
{
    if (row < 1 || row > count())
        return {};
    if (col == 0)
        return QString::number(row);
    if (col == m_layout.quantityColumn) {
        const auto q = quantity(row);
        return q ? quantityText(*q) : QString();
    }
    return m_rows.at(row - 1).cells.value(col);
}

void AllocationModel::setText(int row, int col, const QString &text)
{
    if (row < 1 || row > count() || col <= 0 || col >= columnCount())
        return;
    if (col == m_layout.quantityColumn) {
        setQuantity(row, text.trimmed().isEmpty() ? std::nullopt : std::optional<Decimal>(valDecimal(text)));
        return;
    }
    m_rows[row - 1].cells[col] = text;
    cellChanged(row, col);
}

std::optional<Decimal> AllocationModel::quantity(int row) const
{
    return row < 1 || row > count() ? std::nullopt : m_rows.at(row - 1).quantity;
}

void AllocationModel::setQuantity(int row, std::optional<Decimal> quantity)
{
    if (row < 1 || row > count())
        return;
    Row &r = m_rows[row - 1];
    r.quantity = quantity;
    r.cells[m_layout.quantityColumn] = quantity ? quantityText(*quantity) : QString();
    if (m_layout.typedColumn >= 0)
        r.cells[m_layout.typedColumn] = r.cells.at(m_layout.quantityColumn);
    cellChanged(row, m_layout.quantityColumn);
}

void AllocationModel::setTypedQuantity(int row, const QString &typed)
{
    setText(row, m_layout.quantityColumn, typed);
    if (m_layout.typedColumn >= 0 && row >= 1 && row <= count())
        m_rows[row - 1].cells[m_layout.typedColumn] = typed;
}

int AllocationModel::appendRow(QStringList cells)
{
    beginInsertRows({}, count(), count());
    Row r = emptyRow();
    for (int c = 1; c < r.cells.size(); ++c)
        r.cells[c] = cells.value(c);
    if (!r.cells.at(m_layout.quantityColumn).trimmed().isEmpty())
        r.quantity = valDecimal(r.cells.at(m_layout.quantityColumn));
    m_rows << r;
    endInsertRows();
    return count();
}

void AllocationModel::removeRow(int row)
{
    if (row < 1 || row > count())
        return;
    if (count() == 1) {
        reset();
        return;
    }
    beginRemoveRows({}, row - 1, row - 1);
    m_rows.removeAt(row - 1);
    endRemoveRows();
    // The numbers below the removed row move up.
    emit dataChanged(index(row - 1, 0), index(count() - 1, 0));
}

Decimal AllocationModel::sum() const
{
    Decimal total;
    for (const Row &r : m_rows)
        total += r.quantity.value_or(Decimal());
    return total;
}

Decimal AllocationModel::missing() const { return lineQuantity() - sum(); }

bool AllocationModel::heldElsewhere(int col, int row, const QString &text) const
{
    const QString wanted = text.trimmed().toUpper();
    if (wanted.isEmpty())
        return false;
    for (int r = 1; r <= count(); ++r)
        if (r != row && this->text(r, col).trimmed().toUpper() == wanted)
            return true;
    return false;
}

bool AllocationModel::hasDuplicate(int col) const
{
    for (int r = 1; r <= count(); ++r)
        if (heldElsewhere(col, r, text(r, col)))
            return true;
    return false;
}

void AllocationModel::cellChanged(int row, int col)
{
    const QModelIndex at = index(row - 1, col);
    emit dataChanged(at, at);
    // A note (an expired batch) may follow from any cell of the row.
    if (m_note)
        emit dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
}

} // namespace shop
