#include "register/RegisterModel.h"

#include <QColor>
#include <cstdlib>

namespace shop {

namespace {

constexpr int CancelledColumn = 4;
const QColor CancelledText(255, 0, 0);
// Enough pages for a screen and the clerk's way through the list, not the whole history.
constexpr size_t KeptPages = 64;

} // namespace

RegisterModel::RegisterModel(QObject *parent) : QAbstractTableModel(parent) {}

void RegisterModel::open(const ConnectionPtr &con, const QString &listQuery)
{
    beginResetModel();
    m_list = std::make_unique<reg::RegisterList>(con, listQuery);
    m_order = {};
    reset();
    endResetModel();
}

void RegisterModel::reset()
{
    m_pages.clear();
    m_total = m_list ? m_list->count() : 0;
}

void RegisterModel::setCaptions(const QStringList &captions)
{
    m_captions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RegisterModel::setOrder(const reg::ListOrder &order)
{
    beginResetModel();
    m_order = order;
    m_pages.clear();
    endResetModel();
}

std::optional<int> RegisterModel::findTyped(const QString &typed)
{
    if (!m_list)
        return std::nullopt;
    const int at = m_list->rowsBeforeText(m_order, typed.trimmed());
    if (at >= m_total || !reg::startsWithTyped(text(at, m_order.column), typed))
        return std::nullopt;
    return at;
}

std::optional<int> RegisterModel::reopenAt(TransactionId id)
{
    if (!m_list)
        return std::nullopt;
    beginResetModel();
    m_list->include(id);
    reset();
    endResetModel();
    return m_list->positionOf(m_order, id);
}

void RegisterModel::replaceRow(int row, const QStringList &cells)
{
    rowAt(row); // the row's page is there to take the cells
    const auto page = m_pages.find(row / PageSize);
    if (page == m_pages.end() || static_cast<size_t>(row % PageSize) >= page->second.size())
        return;
    reg::ListedRow &listed = page->second[static_cast<size_t>(row % PageSize)];
    for (int c = 1; c < cells.size() && c < listed.cells.size(); ++c)
        listed.cells[c] = cells.at(c);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RegisterModel::fetchPage(int page) const
{
    const int first = page * PageSize;
    const int n = std::min(PageSize, m_total - first);
    std::vector<reg::ListedRow> rows;
    // The neighbour's key leads to the page when the clerk scrolls; a jump counts rows.
    if (const auto before = m_pages.find(page - 1); before != m_pages.end() && !before->second.empty())
        rows = m_list->rowsAfter(m_order, before->second.back(), n);
    else if (const auto after = m_pages.find(page + 1); after != m_pages.end() && !after->second.empty())
        rows = m_list->rowsBefore(m_order, after->second.front(), n);
    else
        rows = m_list->rowsAt(m_order, first, n, m_total);
    while (m_pages.size() >= KeptPages) {
        auto farthest = m_pages.begin();
        if (std::abs(m_pages.rbegin()->first - page) > std::abs(farthest->first - page))
            farthest = std::prev(m_pages.end());
        m_pages.erase(farthest);
    }
    m_pages.emplace(page, std::move(rows));
}

const reg::ListedRow *RegisterModel::rowAt(int row) const
{
    if (!m_list || row < 0 || row >= m_total)
        return nullptr;
    const int page = row / PageSize;
    if (m_pages.find(page) == m_pages.end())
        fetchPage(page);
    const std::vector<reg::ListedRow> &rows = m_pages.at(page);
    const size_t at = static_cast<size_t>(row % PageSize);
    return at < rows.size() ? &rows[at] : nullptr;
}

QString RegisterModel::text(int row, int column) const
{
    const reg::ListedRow *listed = rowAt(row);
    return listed ? listed->cells.value(column) : QString();
}

bool RegisterModel::isCancelled(int row) const { return text(row, CancelledColumn) == QLatin1String("Yes"); }

int RegisterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(m_total, 1);
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
