#include "common/db/Recordset.h"

#include "common/core/ModuleError.h"

namespace shop {

namespace {
const QString kSource = QStringLiteral("Recordset");
}

Recordset::Recordset(QStringList fieldNames, std::vector<QVariantList> rows)
    : m_names(std::move(fieldNames)), m_rows(std::move(rows))
{
}

int Recordset::fieldIndex(const QString &name) const
{
    // "u.UnitCode" style names address the bare column.
    const QString bare = name.section(QLatin1Char('.'), -1).trimmed();
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(bare, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::value(int row, int index) const
{
    if (row < 0 || row >= recordCount())
        throw ModuleError(3021, kSource,
                          QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    if (index < 0 || index >= fieldCount())
        throw ModuleError(3265, kSource, QStringLiteral("Item cannot be found in the collection."));
    return m_rows.at(static_cast<size_t>(row)).at(index);
}

QVariant Recordset::value(int row, const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw ModuleError(3265, kSource,
                          QStringLiteral("Item cannot be found in the collection: %1").arg(name));
    return value(row, index);
}

QVariant Recordset::field(int index) const { return value(m_pos, index); }
QVariant Recordset::field(const QString &name) const { return value(m_pos, name); }

} // namespace shop
