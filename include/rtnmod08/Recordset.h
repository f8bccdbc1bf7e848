#pragma once

#include <rtnmod08/Export.h>

#include <QStringList>
#include <QVariant>
#include <vector>

namespace shop {

// The rows a statement returned, read forward like a recordset: a current row,
// fields by index or by name (names compared without regard to case, as the
// database does).
class RTNMOD08_EXPORT Recordset {
public:
    Recordset() = default;
    Recordset(QStringList fieldNames, std::vector<QVariantList> rows);

    int fieldCount() const { return static_cast<int>(m_names.size()); }
    const QStringList &fieldNames() const { return m_names; }
    int fieldIndex(const QString &name) const; // -1 when there is no such field
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    bool eof() const { return m_pos >= recordCount(); }
    void moveFirst() { m_pos = 0; }
    void moveNext() { ++m_pos; }
    int position() const { return m_pos; }
    void setPosition(int row) { m_pos = row; }

    // Fields of the current row; raise a module error past the end or for an unknown name.
    QVariant field(int index) const;
    QVariant field(const QString &name) const;

    QVariant value(int row, int index) const;
    QVariant value(int row, const QString &name) const;
    const std::vector<QVariantList> &rows() const { return m_rows; }

private:
    QStringList m_names;
    std::vector<QVariantList> m_rows;
    int m_pos = 0;
};

} // namespace shop
