#include "common/host/DefaultCommonDB.h"

#include "common/core/Conversions.h"
#include "common/host/ModuleCommonDB.h"

#include <QComboBox>

namespace shop {

Connection &DefaultCommonDB::connection() const { return connectionOf(adocon); }

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
    return toInt32(
        connection().scalar(QStringLiteral("select isnull(max(") + column + QStringLiteral("),0)+1") + fromClause({})));
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
