#include "register/RegisterGrid.h"

#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/HostComponents.h>
#include "common/ui/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>

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
    // The clerk scrolling past the top of what is read (the arrow, a click above the
    // slider, the slider dragged) brings the older returns in above it, and the scroll
    // goes on among them. Only the clerk's own actions count: a search showing its match
    // in the first row reads nothing more.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
        QScrollBar *bar = verticalScrollBar();
        const bool upward = action == QAbstractSlider::SliderSingleStepSub || action == QAbstractSlider::SliderPageStepSub
            || action == QAbstractSlider::SliderToMinimum || action == QAbstractSlider::SliderMove;
        if (!upward || bar->sliderPosition() != bar->minimum() || readOlder() == 0)
            return;
        // (Read before the action's own step is applied, which the top had swallowed.)
        if (action == QAbstractSlider::SliderSingleStepSub)
            bar->setSliderPosition(bar->value() - bar->singleStep());
        else if (action == QAbstractSlider::SliderPageStepSub)
            bar->setSliderPosition(bar->value() - bar->pageStep());
    });
}

void RegisterGrid::wheelEvent(QWheelEvent *event)
{
    // The wheel turned up at the top reads first, then scrolls as it always does.
    if (event->angleDelta().y() > 0 && verticalScrollBar()->value() == verticalScrollBar()->minimum())
        readOlder();
    QTableView::wheelEvent(event);
}

QModelIndex RegisterGrid::shownCell(int modelRow) const
{
    // The view scrolls to no cell of a hidden column, and the id's column is hidden:
    // the current column if it is shown, else the first that is.
    int column = col();
    if (column < 0 || isColumnHidden(column)) {
        column = 0;
        while (column < cols() - 1 && isColumnHidden(column))
            ++column;
    }
    return m_model.index(modelRow, column);
}

int RegisterGrid::readOlder()
{
    const int top = std::max(rowAt(0), 0);
    const int added = m_model.fetchOlder();
    if (added > 0) {
        // The scroll range takes the new rows now, not at the next layout.
        updateGeometries();
        scrollTo(shownCell(top + added), QAbstractItemView::PositionAtTop);
    }
    return added;
}

QModelIndex RegisterGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier) && (action == MoveHome || action == MoveEnd)) {
        // (The column is taken before the rows are read afresh, which leaves no current cell.)
        const int column = shownCell(0).column();
        if (action == MoveHome)
            m_model.showStart();
        else
            m_model.showEnd();
        return m_model.index(action == MoveHome ? 0 : m_model.rowCount() - 1, column);
    }
    const QModelIndex current = currentIndex();
    // Where the base view would stop at the first row read, the rows above it come first.
    const bool pastTop = current.isValid()
        && ((action == MoveUp && current.row() == 0)
            || (action == MovePageUp && rowAt(visualRect(current).top() - viewport()->height()) < 0));
    if (pastTop)
        readOlder();
    return QTableView::moveCursor(action, modifiers);
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
        setCurrentIndex(shownCell(row - 1));
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
    else if (currentIndex().isValid() && currentIndex().column() == col)
        // The keys move no cursor that stands in a hidden column.
        selectionModel()->setCurrentIndex(shownCell(currentIndex().row()), QItemSelectionModel::NoUpdate);
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
    if (row < 1 || row >= rows())
        return;
    scrollTo(shownCell(row - 1), QAbstractItemView::PositionAtTop);
    // Before the list is first shown it has no height to scroll in: the row goes on top then.
    m_pendingTop = viewport()->height() > 0 ? QPersistentModelIndex() : QPersistentModelIndex(shownCell(row - 1));
}

void RegisterGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (m_pendingTop.isValid() && viewport()->height() > 0) {
        scrollTo(shownCell(m_pendingTop.row()), QAbstractItemView::PositionAtTop);
        m_pendingTop = QPersistentModelIndex();
    }
}

void RegisterGrid::standOnFound(int row)
{
    setRow(row);
    const int room = contentsRect().height() / std::max(verticalHeader()->defaultSectionSize(), 1);
    if (!m_model.canFetchMore({}) && rows() - row < room)
        readOlder();
    selectRows(this->row(), this->row());
    setTopRow(this->row());
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
