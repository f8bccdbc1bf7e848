#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace shop {

// A table of text cells with a header row 0, as the editor keeps its hidden
// allocation tables (locations, expiry batches, serial numbers): rows 1 onwards
// are allocations, tied to their item line by an item id column.
class TextTable {
public:
    explicit TextTable(int columns = 7) : m_columns(columns) { m_rows.push_back(QStringList(columns, QString())); }

    int columnCount() const { return m_columns; }
    int rowCount() const { return static_cast<int>(m_rows.size()); } // header row included
    int dataRowCount() const { return rowCount() - 1; }
    bool hasData() const { return rowCount() > 1; }

    QString text(int row, int column) const { return m_rows.at(static_cast<size_t>(row)).value(column); }
    void setText(int row, int column, const QString &value) { m_rows.at(static_cast<size_t>(row))[column] = value; }
    const QStringList &row(int row) const { return m_rows.at(static_cast<size_t>(row)); }

    // Appends a data row (padded or cut to the column count) and returns its index.
    int addRow(QStringList cells)
    {
        cells.resize(m_columns);
        m_rows.push_back(std::move(cells));
        return rowCount() - 1;
    }
    void removeRow(int row) { m_rows.erase(m_rows.begin() + row); }
    void clearData() { m_rows.resize(1); }

private:
    int m_columns;
    std::vector<QStringList> m_rows;
};

} // namespace shop
