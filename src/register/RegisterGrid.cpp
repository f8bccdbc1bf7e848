#include "register/RegisterGrid.h"

#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/HostComponents.h>
#include "common/ui/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>

namespace shop {

RegisterGrid::RegisterGrid(QWidget *parent) : QTableView(parent)
{
    verticalHeader()->hide();
    // Rows of one height, so that a list of any length is laid out without measuring it.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(false);
    setModel(&m_model);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &now, const QModelIndex &before) {
                emit currentRowChanged(now.row() + 1, before.row() + 1);
            });
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] { emit currentRowChanged(row(), -1); });
    // At the top of what is shown, the older returns come in above it, and the clerk
    // stays on the rows in view.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value != verticalScrollBar()->minimum())
            return;
        if (const int added = m_model.fetchOlder())
            scrollTo(m_model.index(added, 0), QAbstractItemView::PositionAtTop);
    });
}

RegisterGrid::~RegisterGrid() = default;

QString RegisterGrid::textMatrix(int row, int col) const
{
    if (row == 0)
        return m_model.headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    return m_model.text(row - 1, col);
}

QColor RegisterGrid::cellForeColor(int row, int col) const
{
    const QVariant colour = m_model.data(m_model.index(row - 1, col), Qt::ForegroundRole);
    return colour.isValid() ? colour.value<QColor>() : palette().color(QPalette::Text);
}

void RegisterGrid::setRow(int row)
{
    if (row >= 1 && row < rows())
        setCurrentIndex(m_model.index(row - 1, std::max(col(), 0)));
}

void RegisterGrid::setCol(int col)
{
    if (col >= 0 && col < cols())
        selectionModel()->setCurrentIndex(m_model.index(std::max(row() - 1, 0), col), QItemSelectionModel::NoUpdate);
}

int RegisterGrid::colWidth(int col) const { return isColumnHidden(col) ? 0 : pixelsToTwips(columnWidth(col)); }

void RegisterGrid::setColWidth(int col, int twips)
{
    setColumnHidden(col, twips <= 0);
    if (twips > 0)
        setColumnWidth(col, twipsToPixels(twips));
}

void RegisterGrid::selectRows(int fromRow, int toRow)
{
    clearSelection();
    const int last = rows() - 1;
    const int top = std::clamp(std::min(fromRow, toRow), 1, last) - 1;
    const int bottom = std::clamp(std::max(fromRow, toRow), 1, last) - 1;
    selectionModel()->select(QItemSelection(m_model.index(top, 0), m_model.index(bottom, cols() - 1)),
                             QItemSelectionModel::Select);
}

int RegisterGrid::selectedRowCount() const
{
    int count = 0;
    for (const QItemSelectionRange &range : selectionModel()->selection())
        count += range.height();
    return count;
}

void RegisterGrid::setTopRow(int row)
{
    if (row >= 1 && row < rows())
        scrollTo(m_model.index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

namespace {

// Hands the clerk's presses on the list's header to the settings grid's header, where
// the grid-setting component watches for a drag of a column's edge.
class HeaderPressForwarder final : public QObject {
public:
    HeaderPressForwarder(QObject *parent, QWidget *target) : QObject(parent), m_target(target) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease) {
            // Outside every column, so that the settings grid's header itself does nothing with it.
            const auto *mouse = static_cast<QMouseEvent *>(event);
            QMouseEvent copy(type, QPointF(-1, -1), QPointF(-1, -1), mouse->button(), mouse->buttons(),
                             mouse->modifiers());
            QCoreApplication::sendEvent(m_target, &copy);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_target;
};

} // namespace

void RegisterGrid::applyStoredWidths(qint32 userId, qint32 companyId, const ConnectionPtr &con)
{
    if (!m_settingsGrid) {
        m_settingsGrid = std::make_unique<QTableWidget>();
        m_settingsGrid->setObjectName(objectName());
        horizontalHeader()->viewport()->installEventFilter(
            new HeaderPressForwarder(this, m_settingsGrid->horizontalHeader()->viewport())); // owned by the grid
        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int column, int, int size) { m_settingsGrid->setColumnWidth(column, size); });
    }
    m_settingsGrid->setColumnCount(cols());
    for (int c = 0; c < cols(); ++c)
        m_settingsGrid->setColumnWidth(c, columnWidth(c));
    auto settings = ComponentRegistry::create<clsMasterGridSetting>(progid::GridSetting);
    ConnectionPtr shared = con;
    settings->fnGridSettings(userId, companyId, m_settingsGrid.get(), shared);
    for (int c = 0; c < cols(); ++c)
        if (!isColumnHidden(c) && m_settingsGrid->columnWidth(c) != columnWidth(c))
            setColumnWidth(c, m_settingsGrid->columnWidth(c));
}

} // namespace shop
