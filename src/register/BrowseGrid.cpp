#include "register/BrowseGrid.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Recordset.h>
#include <rtnmod08/ComponentRegistry.h>
#include "register/RegisterGrid.h"
#include "common/ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QPalette>

namespace shop {

namespace {

// Catalogue captions and longest cell texts are spread at this many twips per character.
constexpr int TwipsPerCharacter = 130;
// Cyan text when several rows are selected.
const QColor MultiSelectionText(0, 255, 255);

} // namespace

BrowseGrid::BrowseGrid(RegisterGrid &grid, QComboBox &sortColumns, QComboBox &searchColumns)
    : m_grid(grid), m_sortColumns(sortColumns), m_searchColumns(searchColumns)
{
}

bool BrowseGrid::isCancelled(int row) const { return row >= 1 && m_grid.listModel().isCancelled(row - 1); }

void BrowseGrid::GridPopulate(const ConnectionPtr &con, const Session &session, const QString &statement)
{
    m_grid.setColWidth(0, 960);
    m_grid.listModel().open(con, statement);
    // The widths follow the rows the clerk sees first: the newest, at the end of the list.
    std::vector<int> longest(static_cast<size_t>(m_grid.cols()), 0);
    for (int r = 1; r < m_grid.rows(); ++r)
        for (int i = 0; i < m_grid.cols(); ++i)
            longest[static_cast<size_t>(i)] =
                std::max(longest[static_cast<size_t>(i)], static_cast<int>(m_grid.textMatrix(r, i).size()));
    if (session.transType == QLatin1String("P"))
        SetGridHeaders(con, session, QStringLiteral("LospurchasereturnHeader"), longest);
    m_grid.setColWidth(0, 0);
}

void BrowseGrid::SetGridHeaders(const ConnectionPtr &con, const Session &session, const QString &tableName,
                                std::vector<int> &longest)
{
    m_sortColumns.clear();
    m_searchColumns.clear();
    // Ordered by the catalogue's own column order, so both backends caption alike.
    const Recordset rs = con->query(
        QStringLiteral("select tc.columnheader,tc.columnname from atables t,atablecolumns tc where t.tableid = "
                       "tc.tableid and tablename = ? order by tc.tableid, tc.columnorder"),
        {tableName});
    if (longest.size() < static_cast<size_t>(m_grid.cols()))
        longest.resize(static_cast<size_t>(m_grid.cols()), 0);
    QStringList captions(m_grid.cols());
    for (int r = 1; r < rs.recordCount() && r < m_grid.cols(); ++r) {
        const QString caption = rs.value(r, 0).toString().trimmed();
        captions[r] = caption;
        m_sortColumns.addItem(caption, r);
        m_searchColumns.addItem(caption, r);
        longest[static_cast<size_t>(r)] = std::max(longest[static_cast<size_t>(r)], static_cast<int>(caption.size()));
    }
    m_grid.listModel().setCaptions(captions);
    m_sortColumns.setCurrentIndex(-1);
    m_searchColumns.setCurrentIndex(-1);
    for (int i = 0; i < rs.recordCount() && i < m_grid.cols(); ++i) {
        const int wanted = longest[static_cast<size_t>(i)] * TwipsPerCharacter;
        if (wanted > m_grid.colWidth(i))
            m_grid.setColWidth(i, wanted);
    }
    // A wide window shares its spare width among the visible columns. The total is
    // kept in 32 bits: long texts must not stop the register from opening.
    int total = 0;
    for (int i = 1; i < m_grid.cols(); ++i)
        total += m_grid.colWidth(i);
    // The grid's viewport takes its size only when first shown; the grid itself is laid out already.
    const int gridWidth = pixelsToTwips(m_grid.contentsRect().width());
    if (m_grid.cols() > 1 && gridWidth - 315 > total) {
        const int extra = gridWidth - total - 15;
        const int per = static_cast<int>(roundHalfEven(static_cast<double>(extra) / (m_grid.cols() - 1)));
        for (int i = 1; i < m_grid.cols(); ++i)
            m_grid.setColWidth(i, m_grid.colWidth(i) + per);
    }
    // The ids go over whole: in sixteen bits user 65537 would get user 1's widths.
    m_grid.applyStoredWidths(session.userId, session.companyId, con);
    m_grid.setRow(m_grid.rows() - 1);
    m_grid.setTopRow(m_grid.row());
    m_grid.selectRows(m_grid.row(), m_grid.row());
}

void BrowseGrid::sortByChosenColumn(bool ascending)
{
    if (m_sortColumns.currentIndex() < 0)
        return;
    const QString caption = m_sortColumns.currentText();
    // The id follows the order of entry, which is what "by number" and "by date" mean here.
    const int column = caption.contains(QLatin1String("Return No"), Qt::CaseInsensitive)
            || caption.contains(QLatin1String("date"), Qt::CaseInsensitive)
        ? IdColumn
        : m_sortColumns.currentData().toInt();
    reorder(reg::ListOrder{column, ascending}, column);
}

void BrowseGrid::reorder(const reg::ListOrder &order, int column)
{
    const int row = m_grid.row();
    if (m_grid.listModel().order() != order)
        m_grid.listModel().setOrder(order);
    stayOn(row, column);
}

void BrowseGrid::stayOn(int row, int column)
{
    // (Within the rows now read: a long list is shown from its start.)
    m_grid.setRow(std::clamp(row, 1, m_grid.rows() - 1));
    m_grid.setCol(column);
}

bool BrowseGrid::FindInGrid(const QString &typed)
{
    if (m_searchColumns.currentIndex() < 0)
        return false;
    const int column = m_searchColumns.currentData().toInt();
    // The list is searched in the column's order, as it is then shown.
    const int row = m_grid.row();
    const std::optional<int> found = m_grid.listModel().findTyped(reg::ListOrder{column, true}, typed);
    if (!found) {
        stayOn(row, column);
        return false;
    }
    m_grid.standOnFound(*found + 1);
    m_grid.setCol(column);
    return true;
}

void BrowseGrid::applySelectionColours()
{
    QPalette palette = m_grid.palette();
    const QColor windowText = QApplication::palette().color(QPalette::Text);
    QColor selected = QApplication::palette().color(QPalette::HighlightedText);
    if (m_grid.selectedRowCount() > 1) {
        selected = MultiSelectionText;
    } else if (m_grid.row() >= 1 && m_grid.row() < m_grid.rows()) {
        const QColor cell = m_grid.cellForeColor(m_grid.row(), m_grid.col());
        if (cell.isValid() && cell != windowText)
            selected = cell;
    }
    palette.setColor(QPalette::HighlightedText, selected);
    m_grid.setPalette(palette);
}

} // namespace shop
