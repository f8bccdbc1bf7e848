#include "common/host/DefaultCommonDB.h"

#include "common/core/Conversions.h"
#include "common/host/ModuleCommonDB.h"

#include <QComboBox>

namespace shop {

Connection &DefaultCommonDB::connection() const { return connectionOf(adocon); }

BoundSql DefaultCommonDB::fromClause(const QString &condition) const
{
    QString sql = QStringLiteral(" from ") + strTableName;
    if (!condition.trimmed().isEmpty())
        sql += QStringLiteral(" where ") + condition;
    // The ids in the text are bound, so that one statement serves every shop and item.
    return bindComparedValues(sql);
}

QVariant DefaultCommonDB::scalar(const QString &select, const QString &condition) const
{
    const BoundSql from = fromClause(condition);
    return connection().scalar(select + from.text, from.values);
}

QVariant DefaultCommonDB::fnReturnField(const QString &expression)
{
    return fnReturnField(expression, QString());
}

QVariant DefaultCommonDB::fnReturnField(const QString &expression, const QString &condition)
{
    return scalar(QStringLiteral("select ") + expression, condition);
}

qint32 DefaultCommonDB::fnGetNextMaxNo(const QString &column)
{
    return toInt32(scalar(QStringLiteral("select isnull(max(") + column + QStringLiteral("),0)+1"), {}));
}

void DefaultCommonDB::populateComboorList(QComboBox *combo, const QString &idColumn, const QString &textColumn,
                                          const QString &condition)
{
    const BoundSql from = fromClause(condition);
    const Recordset rows =
        connection().query(QStringLiteral("select ") + idColumn + QStringLiteral(", ") + textColumn + from.text, from.values);
    if (!combo)
        return;
    combo->clear();
    for (const QVariantList &row : rows.rows())
        combo->addItem(row.value(1).toString().trimmed(), row.value(0));
}

} // namespace shop
