#include "support/RowText.h"

#include "common/core/Conversions.h"
#include "common/core/Decimal.h"
#include <rtnmod08/Recordset.h>

namespace shop::test {

QString comparable(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("<null>");
    const QString cell = cellText(value);
    if (!Decimal::parse(cell))
        return cell;
    QString n = Decimal::fromVariant(value).toString();
    while (n.endsWith(QLatin1Char('0')))
        n.chop(1);
    if (n.endsWith(QLatin1Char('.')))
        n.chop(1);
    return n;
}

QStringList rowsOf(Connection &con, const QString &statement, const QVariantList &values)
{
    QStringList lines;
    const Recordset rs = con.query(statement, values);
    for (const QVariantList &row : rs.rows()) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << comparable(v);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QStringList rowsOf(const TextTable &table)
{
    QStringList lines;
    for (int r = 1; r < table.rowCount(); ++r) {
        QStringList cells;
        for (const QString &cell : table.row(r))
            cells << comparable(cell);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QStringList dumpTables(Connection &con, const QStringList &tables)
{
    QStringList all;
    for (const QString &table : tables) {
        QStringList rows = rowsOf(con, QStringLiteral("select * from ") + table);
        rows.sort();
        for (const QString &r : rows)
            all << table + QLatin1Char(':') + r;
    }
    return all;
}

} // namespace shop::test
