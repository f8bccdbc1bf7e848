#pragma once

#include <QColor>
#include <QTableWidget>

namespace shop {

// A grid addressed the way the module's routines address grids: row 0 is the fixed
// caption row (shown as the column header), data rows are 1 to rows() - 1, columns
// start at 0 and widths are in twips. The register's browse grid and the allocation
// grids are FlexGrids.
class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    // Sort codes: generic (numbers as numbers) and text without regard to case.
    enum SortCode { GenericAscending = 1, GenericDescending = 2, StringAscending = 7, StringDescending = 8 };

    explicit FlexGrid(QWidget *parent = nullptr);

    int rows() const { return rowCount() + 1; } // the caption row included
    void setRows(int rows);
    int cols() const { return columnCount(); }
    void setCols(int cols);

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // Appends a row from tab-separated cell texts.
    void addItem(const QString &tabSeparated);
    void removeItem(int row);

    // The current cell; row 0 when there is no data row.
    int row() const { return currentRow() + 1; }
    void setRow(int row);
    int col() const { return currentColumn(); }
    void setCol(int col);

    int colWidth(int col) const; // twips; 0 for a hidden column
    void setColWidth(int col, int twips);

    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor &color);

    // Selects every column of the data rows from `fromRow` to `toRow`.
    void selectRows(int fromRow, int toRow);
    int selectedRowCount() const;

    int topRow() const;
    void setTopRow(int row);

    // Sorts the data rows on one column, keeping each row's cells together; rows that
    // compare equal keep their order. Raises a module error for an unknown code.
    void sort(int col, int code);

    // Whether a cell text is a number as a whole (blanks around it allowed).
    static bool isNumericText(const QString &text);

private:
    QTableWidgetItem *cell(int row, int col);
    const QTableWidgetItem *cell(int row, int col) const;
};

} // namespace shop
