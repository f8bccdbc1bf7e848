#include "register/BrowseGrid.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Recordset.h>
#include <rtnmod08/ComponentRegistry.h>
#include "common/ui/FlexGrid.h"
#include "common/ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QPalette>

namespace shop {

namespace {

// Catalogue captions and longest cell texts are spread at this many twips per character.
constexpr int TwipsPerCharacter = 130;
// Colours as the grid has always used them: red text on cancelled rows, cyan when
// several rows are selected.
const QColor CancelledText(255, 0, 0);
const QColor MultiSelectionText(0, 255, 255);

} // namespace

BrowseGrid::BrowseGrid(FlexGrid &grid, QComboBox &sortColumns, QComboBox &searchColumns)
    : m_grid(grid), m_sortColumns(sortColumns), m_searchColumns(searchColumns)
{
}

bool BrowseGrid::isCancelled(int row) const
{
    return row >= 1 && row < m_grid.rows() && m_grid.textMatrix(row, CancelledColumn) == QLatin1String("Yes");
}

void BrowseGrid::GridPopulate(const ConnectionPtr &con, const Session &session, const QString &statement)
{
    m_grid.clear();
    m_grid.setCols(1);
    m_grid.setRows(2);
    m_grid.setColWidth(0, 960);
    const Recordset rs = con ? con->query(statement) : Connection().query(statement);
    const int fields = rs.fieldCount();
    if (rs.isEmpty())
        m_grid.setCols(fields);
    std::vector<int> longest(static_cast<size_t>(fields), 0);
    for (int k = 1; k <= rs.recordCount(); ++k) {
        if (k > 1)
            m_grid.setRows(k + 1);
        if (k == 1)
            m_grid.setCols(fields);
        for (int i = 0; i < fields; ++i) {
            const QString text = cellText(rs.value(k - 1, i));
            m_grid.setTextMatrix(k, i, text);
            longest[static_cast<size_t>(i)] = std::max(longest[static_cast<size_t>(i)], static_cast<int>(text.size()));
        }
    }
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
    for (int r = 1; r < rs.recordCount() && r < m_grid.cols(); ++r) {
        const QString caption = rs.value(r, 0).toString().trimmed();
        m_grid.setTextMatrix(0, r, caption);
        m_sortColumns.addItem(caption, r);
        m_searchColumns.addItem(caption, r);
        longest[static_cast<size_t>(r)] = std::max(longest[static_cast<size_t>(r)], static_cast<int>(caption.size()));
    }
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
    const int gridWidth = pixelsToTwips(m_grid.viewport()->width());
    if (m_grid.cols() > 1 && gridWidth - 315 > total) {
        const int extra = gridWidth - total - 15;
        const int per = static_cast<int>(roundHalfEven(static_cast<double>(extra) / (m_grid.cols() - 1)));
        for (int i = 1; i < m_grid.cols(); ++i)
            m_grid.setColWidth(i, m_grid.colWidth(i) + per);
    }
    auto settings = ComponentRegistry::create<clsMasterGridSetting>(progid::GridSetting);
    // The ids go over whole: in sixteen bits user 65537 would get user 1's widths.
    ConnectionPtr shared = con;
    settings->fnGridSettings(session.userId, session.companyId, &m_grid, shared);
    paintCancelledRows();
    m_grid.setRow(m_grid.rows() - 1);
    m_grid.setTopRow(m_grid.row());
    m_grid.selectRows(m_grid.row(), m_grid.row());
}

void BrowseGrid::paintCancelledRows()
{
    for (int r = 1; r < m_grid.rows(); ++r) {
        if (!isCancelled(r))
            continue;
        for (int c = 0; c <= CancelledColumn && c < m_grid.cols(); ++c)
            m_grid.setCellForeColor(r, c, CancelledText);
    }
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
    m_grid.setCol(column);
    const bool numeric = FlexGrid::isNumericText(m_grid.textMatrix(m_grid.row(), column));
    const FlexGrid::SortCode order = ascending
        ? (numeric ? FlexGrid::GenericAscending : FlexGrid::StringAscending)
        : (numeric ? FlexGrid::GenericDescending : FlexGrid::StringDescending);
    m_grid.sort(column, order);
}

bool BrowseGrid::FindInGrid(const QString &typed)
{
    if (m_searchColumns.currentIndex() < 0)
        return false;
    const int column = m_searchColumns.currentData().toInt();
    m_grid.setCol(column);
    m_grid.sort(column, FlexGrid::StringAscending);
    const QString wanted = typed.trimmed();
    int low = 1;
    int high = m_grid.rows() - 1;
    bool numericMode = false;
    bool modeChosen = false;
    while (low <= high) {
        const int mid = (low + high) / 2;
        // The cell is cut to the length of the text as typed, trailing blanks included.
        const QString cell = m_grid.textMatrix(mid, column).trimmed().left(typed.size());
        if (!modeChosen) {
            numericMode = FlexGrid::isNumericText(m_grid.textMatrix(mid, column));
            modeChosen = true;
        }
        int comparison = 0;
        if (numericMode) {
            const double a = val(cell);
            const double b = val(wanted);
            comparison = a < b ? -1 : a > b ? 1 : 0;
        } else {
            comparison = cell.toUpper().compare(wanted.toUpper());
        }
        if (comparison == 0) {
            m_grid.setRow(mid);
            m_grid.selectRows(mid, mid);
            m_grid.setTopRow(mid);
            return true;
        }
        if (comparison < 0)
            low = mid + 1;
        else
            high = mid - 1;
    }
    return false;
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
