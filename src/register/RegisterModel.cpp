#include "register/RegisterModel.h"

#include <QColor>

namespace shop {

namespace {

constexpr int CancelledColumn = 4;
const QColor CancelledText(255, 0, 0);

} // namespace

RegisterModel::RegisterModel(QObject *parent) : QAbstractTableModel(parent) {}

void RegisterModel::show(std::vector<reg::ListedRow> rows, bool atStart, bool atEnd)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_atStart = atStart;
    m_atEnd = atEnd;
    endResetModel();
}

void RegisterModel::open(const ConnectionPtr &con, const QString &listQuery)
{
    m_list = std::make_unique<reg::RegisterList>(con, listQuery);
    m_order = {};
    showLast();
}

void RegisterModel::showLast()
{
    std::vector<reg::ListedRow> rows = m_list->last(m_order, PageSize);
    const bool atStart = rows.size() < static_cast<size_t>(PageSize);
    show(std::move(rows), atStart, true);
}

bool RegisterModel::showStart()
{
    if (!m_list || m_atStart)
        return false;
    setOrder(m_order);
    return true;
}

bool RegisterModel::showEnd()
{
    if (!m_list || m_atEnd)
        return false;
    showLast();
    return true;
}

void RegisterModel::setCaptions(const QStringList &captions)
{
    m_captions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RegisterModel::setOrder(const reg::ListOrder &order)
{
    m_order = order;
    if (!m_list)
        return;
    std::vector<reg::ListedRow> rows = m_list->first(m_order, PageSize);
    const bool atEnd = rows.size() < static_cast<size_t>(PageSize);
    show(std::move(rows), true, atEnd);
}

void RegisterModel::showFrom(std::vector<reg::ListedRow> rows)
{
    const bool atEnd = rows.size() < static_cast<size_t>(PageSize);
    show(std::move(rows), false, atEnd);
}

std::optional<int> RegisterModel::findTyped(const reg::ListOrder &order, const QString &typed)
{
    if (!m_list)
        return std::nullopt;
    const reg::ListedRow place = m_list->placeOfText(order, typed.trimmed());
    std::vector<reg::ListedRow> from = m_list->after(order, place, PageSize);
    if (from.empty() || !reg::startsWithTyped(from.front().cells.value(order.column), typed)) {
        // The order's own first page only when nothing matched: a match shows from itself.
        if (order != m_order)
            setOrder(order);
        return std::nullopt;
    }
    m_order = order;
    showFrom(std::move(from));
    return 0;
}

std::optional<int> RegisterModel::reopenAt(TransactionId id)
{
    if (!m_list)
        return std::nullopt;
    m_list->include(id);
    const std::optional<reg::ListedRow> place = m_list->placeOf(m_order, id);
    if (!place)
        return std::nullopt;
    // Not a keystroke: the rows above it are read at once, so that it shows among them.
    showFrom(m_list->after(m_order, *place, PageSize));
    return fetchOlder();
}

void RegisterModel::replaceRow(int row, const QStringList &cells)
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    reg::ListedRow &listed = m_rows[static_cast<size_t>(row)];
    // Column 0 holds the id, which does not change.
    for (int c = 1; c < cells.size() && c < listed.cells.size(); ++c)
        listed.cells[c] = cells.at(c);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool RegisterModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && m_list && !m_atEnd; }

void RegisterModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent) || m_rows.empty())
        return;
    std::vector<reg::ListedRow> more = m_list->after(m_order, m_rows.back(), PageSize);
    m_atEnd = more.size() < static_cast<size_t>(PageSize);
    if (more.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(more.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    endInsertRows();
}

int RegisterModel::fetchOlder()
{
    if (!m_list || m_atStart || m_rows.empty())
        return 0;
    std::vector<reg::ListedRow> more = m_list->before(m_order, m_rows.front(), PageSize);
    m_atStart = more.size() < static_cast<size_t>(PageSize);
    if (more.empty())
        return 0;
    const int n = static_cast<int>(more.size());
    beginInsertRows({}, 0, n - 1);
    m_rows.insert(m_rows.begin(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    endInsertRows();
    return n;
}

QString RegisterModel::text(int row, int column) const
{
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return {};
    return m_rows[static_cast<size_t>(row)].cells.value(column);
}

bool RegisterModel::isCancelled(int row) const { return text(row, CancelledColumn) == QLatin1String("Yes"); }

int RegisterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(static_cast<int>(m_rows.size()), 1);
}

int RegisterModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : reg::RegisterList::Columns; }

QVariant RegisterModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return text(index.row(), index.column());
    if (role == Qt::ForegroundRole && index.column() <= CancelledColumn && isCancelled(index.row()))
        return CancelledText;
    return {};
}

QVariant RegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_captions.value(section);
    return {};
}

} // namespace shop
