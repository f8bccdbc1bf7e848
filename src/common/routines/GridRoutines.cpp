#include "common/routines/GridRoutines.h"

#include "common/core/Conversions.h"
#include "common/host/ErrorReporting.h"
#include "common/ui/FlexGrid.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/core/TextTable.h"

namespace shop {

namespace {

// The one way the routines below reach rows, whichever kind of grid they are given.
int rowsOf(const FlexGrid &grid) { return grid.rows(); }
int rowsOf(const TextTable &table) { return table.rowCount(); }
QString textOf(const FlexGrid &grid, int row, int col) { return grid.textMatrix(row, col); }
QString textOf(const TextTable &table, int row, int col) { return table.text(row, col); }
void removeRowOf(FlexGrid &grid, int row) { grid.removeItem(row); }
void removeRowOf(TextTable &table, int row) { table.removeRow(row); }

template <typename Grid>
bool findDuplicateRow(const Grid &grid, int col, int &row)
{
    const int last = rowsOf(grid) - 1;
    for (int r = 1; r < last; ++r) {
        const QString text = textOf(grid, r, col).trimmed().toUpper();
        for (int r2 = r + 1; r2 <= last; ++r2) {
            if (textOf(grid, r2, col).trimmed().toUpper() == text) {
                row = r2;
                return true;
            }
        }
    }
    return false;
}

template <typename Grid>
void removeRows(Grid &grid, int col, const QString &value)
{
    for (int r = rowsOf(grid) - 1; r >= 1; --r) {
        if (textOf(grid, r, col) == value)
            removeRowOf(grid, r);
    }
}

// The register's list statement narrowed to the rows of `condition`.
QString refreshStatement(const QString &condition)
{
    QString sql = moduleState().gstrListQuery;
    const qsizetype orderBy = sql.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (orderBy >= 0)
        sql = sql.left(orderBy);
    sql += sql.contains(QLatin1String("where"), Qt::CaseInsensitive) ? QStringLiteral(" and ") : QStringLiteral(" where ");
    return sql + condition;
}

} // namespace

bool fnFindDuplicateRow(const FlexGrid &grid, int col, int &row) { return findDuplicateRow(grid, col, row); }
bool fnFindDuplicateRow(const TextTable &table, int col, int &row) { return findDuplicateRow(table, col, row); }
void RemoveGridRows(FlexGrid &grid, int col, const QString &value) { removeRows(grid, col, value); }
void RemoveGridRows(TextTable &table, int col, const QString &value) { removeRows(table, col, value); }

void UpdateEditedRow(FlexGrid &grid, const QString &condition, qint32 transId)
{
    try {
        const int cols = grid.cols();
        Recordset rs = moduleConnection().query(refreshStatement(condition));
        if (rs.isEmpty())
            return;
        rs.moveFirst();
        if (moduleState().gstrMode == QLatin1String("E")) {
            // Column 0 holds the id, which does not change.
            const int row = grid.row();
            for (int c = 1; c < cols; ++c)
                grid.setTextMatrix(row, c, cellText(rs.field(c)));
        } else if (grid.rows() == 2 && grid.textMatrix(1, 0).isEmpty()) {
            // The first entry of an empty register takes its blank row.
            for (int c = 0; c < cols; ++c)
                grid.setTextMatrix(1, c, cellText(rs.field(c)));
        } else {
            QStringList line{QString::number(transId)};
            for (int c = 1; c < cols; ++c)
                line << cellText(rs.field(c));
            grid.addItem(line.join(QLatin1Char('\t')));
            const int last = grid.rows() - 1;
            grid.setRow(last);
            grid.setTopRow(last);
            grid.selectRows(last, last);
        }
    } catch (...) {
        TrackCaughtError(QStringLiteral("BasWriteoff"), QStringLiteral("UpdateEditedRow"), true);
    }
}

} // namespace shop
