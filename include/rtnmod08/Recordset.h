#pragma once

#include <rtnmod08/Export.h>

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace shop {

/**
 * @brief The rows a statement returned, read forward like a recordset.
 *
 * It holds every row (nothing stays open on the database) and a current row; fields are
 * read by index or by name, names compared without regard to case as the database does
 * (`u.UnitCode` addresses the column `UnitCode`). A Recordset is a value: copies are
 * independent, each with its own current row.
 */
class RTNMOD08_EXPORT Recordset {
public:
    /// No fields and no rows.
    Recordset();
    Recordset(QStringList fieldNames, std::vector<QVariantList> rows);
    Recordset(const Recordset &other);
    Recordset &operator=(const Recordset &other);
    Recordset(Recordset &&other) noexcept;
    Recordset &operator=(Recordset &&other) noexcept;
    ~Recordset();

    int fieldCount() const;
    const QStringList &fieldNames() const;
    /// The index of a field; -1 when there is no such field.
    int fieldIndex(const QString &name) const;
    int recordCount() const;
    bool isEmpty() const;

    /// True when the current row is past the last one.
    bool eof() const;
    void moveFirst();
    void moveNext();
    /// The current row, counted from 0.
    int position() const;
    void setPosition(int row);

    /// A field of the current row.
    /// @throws ModuleError past the end, or for an unknown field.
    QVariant field(int index) const;
    /// @copydoc field(int) const
    QVariant field(const QString &name) const;

    /// A field of any row, counted from 0. @throws ModuleError outside the rows or fields.
    QVariant value(int row, int index) const;
    /// @copydoc value(int, int) const
    QVariant value(int row, const QString &name) const;
    /// Every row, each with one value per field.
    const std::vector<QVariantList> &rows() const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace shop
