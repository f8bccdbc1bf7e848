#include "common/DefaultCommonDB.h"

#include "common/ModuleError.h"

#include <QComboBox>
#include <limits>

namespace shop {

Connection &DefaultCommonDB::connection() const
{
    if (adocon)
        return *adocon;
    // Never given a connection: fail the way an unopened one does.
    static Connection unopened;
    return unopened;
}

QString DefaultCommonDB::fromClause(const QString &condition) const
{
    QString sql = QStringLiteral(" from ") + strTableName;
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" where ") + condition;
    return sql;
}

QVariant DefaultCommonDB::fnReturnField(const QString &expression)
{
    return fnReturnField(expression, QString());
}

QVariant DefaultCommonDB::fnReturnField(const QString &expression, const QString &condition)
{
    return connection().scalar(QStringLiteral("select ") + expression + fromClause(condition));
}

qint32 DefaultCommonDB::fnGetNextMaxNo(const QString &column)
{
    const QVariant next =
        connection().scalar(QStringLiteral("select isnull(max(") + column + QStringLiteral("),0)+1") + fromClause({}));
    bool ok = false;
    const qlonglong value = next.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        throw ModuleError(ModuleError::Overflow, QStringLiteral("CommonModule.clsCommonDB"), QStringLiteral("Overflow"));
    return static_cast<qint32>(value);
}

void DefaultCommonDB::populateComboorList(QComboBox *combo, const QString &idColumn, const QString &textColumn,
                                          const QString &condition)
{
    const Recordset rows =
        connection().query(QStringLiteral("select ") + idColumn + QStringLiteral(", ") + textColumn + fromClause(condition));
    if (!combo)
        return;
    combo->clear();
    for (const QVariantList &row : rows.rows())
        combo->addItem(row.value(1).toString().trimmed(), row.value(0));
}

} // namespace shop
