#include "common/ui/FlexGrid.h"

#include <rtnmod08/ModuleError.h>
#include "common/ui/Twips.h"

#include <QHeaderView>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace shop {

FlexGrid::FlexGrid(QWidget *parent) : QTableWidget(parent)
{
    verticalHeader()->hide(); // no fixed columns
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setRows(2);
    setCols(2);
}

void FlexGrid::setRows(int rows) { setRowCount(std::max(rows, 1) - 1); }

void FlexGrid::setCols(int cols)
{
    setColumnCount(std::max(cols, 0));
    // Columns without a caption show an empty header, not the header's own numbers.
    for (int c = 0; c < columnCount(); ++c) {
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem());
    }
}

QTableWidgetItem *FlexGrid::cell(int row, int col)
{
    if (row == 0) {
        QTableWidgetItem *caption = horizontalHeaderItem(col);
        if (!caption) {
            caption = new QTableWidgetItem();
            setHorizontalHeaderItem(col, caption);
        }
        return caption;
    }
    QTableWidgetItem *it = item(row - 1, col);
    if (!it) {
        it = new QTableWidgetItem();
        setItem(row - 1, col, it);
    }
    return it;
}

const QTableWidgetItem *FlexGrid::cell(int row, int col) const
{
    return row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
}

QString FlexGrid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        throw ModuleError(381, objectName(), QStringLiteral("Subscript out of range"));
    const QTableWidgetItem *it = cell(row, col);
    return it ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        throw ModuleError(381, objectName(), QStringLiteral("Subscript out of range"));
    cell(row, col)->setText(text);
}

void FlexGrid::addItem(const QString &tabSeparated)
{
    const QStringList texts = tabSeparated.split(QLatin1Char('\t'));
    const int newRow = rows();
    setRows(newRow + 1);
    for (int c = 0; c < cols() && c < texts.size(); ++c)
        setTextMatrix(newRow, c, texts.at(c));
}

void FlexGrid::removeItem(int row)
{
    if (row < 1 || row >= rows())
        throw ModuleError(381, objectName(), QStringLiteral("Subscript out of range"));
    removeRow(row - 1);
}

void FlexGrid::setRow(int row)
{
    if (row >= 1 && row < rows())
        setCurrentCell(row - 1, std::max(currentColumn(), 0));
}

void FlexGrid::setCol(int col)
{
    if (col >= 0 && col < cols() && rowCount() > 0)
        setCurrentCell(std::max(currentRow(), 0), col);
}

int FlexGrid::colWidth(int col) const { return isColumnHidden(col) ? 0 : pixelsToTwips(columnWidth(col)); }

void FlexGrid::setColWidth(int col, int twips)
{
    setColumnHidden(col, twips <= 0);
    if (twips > 0)
        setColumnWidth(col, twipsToPixels(twips));
}

QColor FlexGrid::cellForeColor(int row, int col) const
{
    const QTableWidgetItem *it = cell(row, col);
    const QBrush brush = it ? it->foreground() : QBrush();
    return brush.style() == Qt::NoBrush ? palette().color(QPalette::Text) : brush.color();
}

void FlexGrid::setCellForeColor(int row, int col, const QColor &color) { cell(row, col)->setForeground(color); }

void FlexGrid::selectRows(int fromRow, int toRow)
{
    clearSelection();
    if (rowCount() == 0 || columnCount() == 0)
        return;
    const int top = std::clamp(std::min(fromRow, toRow), 1, rows() - 1) - 1;
    const int bottom = std::clamp(std::max(fromRow, toRow), 1, rows() - 1) - 1;
    setRangeSelected(QTableWidgetSelectionRange(top, 0, bottom, columnCount() - 1), true);
}

int FlexGrid::selectedRowCount() const
{
    int count = 0;
    for (const QTableWidgetSelectionRange &range : selectedRanges())
        count += range.rowCount();
    return count;
}

int FlexGrid::topRow() const
{
    if (rowCount() == 0)
        return 0;
    const int first = rowAt(0);
    return first < 0 ? 1 : first + 1;
}

void FlexGrid::setTopRow(int row)
{
    if (row >= 1 && row < rows() && columnCount() > 0)
        scrollToItem(cell(row, 0), QAbstractItemView::PositionAtTop);
}

bool FlexGrid::isNumericText(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

void FlexGrid::sort(int col, int code)
{
    const bool generic = code == GenericAscending || code == GenericDescending;
    const bool descending = code == GenericDescending || code == StringDescending;
    if (!generic && code != StringAscending && code != StringDescending)
        throw ModuleError(380, objectName(), QStringLiteral("Invalid property value"));
    if (col < 0 || col >= cols())
        throw ModuleError(381, objectName(), QStringLiteral("Subscript out of range"));

    const int count = rowCount();
    std::vector<QString> keys(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        keys[static_cast<size_t>(r)] = textMatrix(r + 1, col);
    // Generic sorting puts numbers (by value) before other text, so that the order
    // stays consistent when a column mixes both.
    const auto compare = [generic](const QString &a, const QString &b) {
        if (generic) {
            const bool aNumber = isNumericText(a);
            const bool bNumber = isNumericText(b);
            if (aNumber && bNumber) {
                const double x = a.trimmed().toDouble();
                const double y = b.trimmed().toDouble();
                return x < y ? -1 : (x > y ? 1 : 0);
            }
            if (aNumber != bNumber)
                return aNumber ? -1 : 1;
        }
        return a.compare(b, Qt::CaseInsensitive);
    };
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = compare(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
        return descending ? c > 0 : c < 0;
    });

    // Move whole rows: every cell keeps its text and colour.
    std::vector<std::vector<QTableWidgetItem *>> taken(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        for (int c = 0; c < columnCount(); ++c)
            taken[static_cast<size_t>(r)].push_back(takeItem(r, c));
    for (int r = 0; r < count; ++r) {
        const auto &source = taken[static_cast<size_t>(order[static_cast<size_t>(r)])];
        for (int c = 0; c < columnCount(); ++c) {
            if (QTableWidgetItem *it = source[static_cast<size_t>(c)])
                setItem(r, c, it);
        }
    }
}

} // namespace shop
