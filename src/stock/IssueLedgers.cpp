#include "stock/IssueLedgers.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/core/AllocationColumns.h"

namespace shop {

namespace {

QVariant cellValue(const TextTable &table, int row, const LedgerColumn &column)
{
    const QString text = column.allocation < 0 ? QString() : table.text(row, column.allocation);
    switch (column.cell) {
    case Cell::Id:
        return toInt32(valDecimal(text));
    case Cell::OptionalId:
        return text.trimmed().isEmpty() ? QVariant() : QVariant(toInt32(valDecimal(text)));
    case Cell::Quantity:
        return valDecimal(text).toString();
    case Cell::Text:
        return text.isNull() ? QStringLiteral("") : text; // empty text, never Null
    case Cell::Date: {
        if (text.trimmed().isEmpty())
            return {};
        const QDate date = parseDate(text);
        if (!date.isValid())
            throw ModuleError(ModuleError::TypeMismatch, QStringLiteral("IssueLedgers"), QStringLiteral("Type mismatch"));
        return date;
    }
    case Cell::Zero:
        return 0;
    }
    return {};
}

} // namespace

QString issueLedgerOwnerRows(IssueLedger kind)
{
    const Ledger &l = ledger(kind);
    return QStringLiteral("FROM ") + l.issueTable + QStringLiteral(" WHERE ") + l.issue(QStringLiteral("InterfaceId"))
        + QStringLiteral(" = ? AND ") + l.issue(QStringLiteral("ShopId")) + QStringLiteral(" = ? AND ") + l.transColumn
        + QStringLiteral(" = ?");
}

void rewriteIssueLedger(Connection &con, IssueLedger kind, const TextTable &allocations, const LedgerOwner &owner)
{
    const Ledger &l = ledger(kind);
    con.execute(QStringLiteral("DELETE ") + issueLedgerOwnerRows(kind), {owner.interfaceId, owner.shopId, owner.transId});

    QStringList columns{l.issue(QStringLiteral("InterfaceId")), l.issue(QStringLiteral("ShopId")), l.transColumn,
                        l.issue(QStringLiteral("detailid"))};
    for (const LedgerColumn &c : l.columns)
        columns << c.name;
    const QString insert = QStringLiteral("insert into ") + l.issueTable + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
        + QStringLiteral(") values (") + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
        + QLatin1Char(')');
    for (int row = 1; row < allocations.rowCount(); ++row) {
        QVariantList values{owner.interfaceId, owner.shopId, owner.transId, row};
        for (const LedgerColumn &c : l.columns)
            values << cellValue(allocations, row, c);
        con.execute(insert, values);
    }
}

void cancelIssueLedger(Connection &con, IssueLedger kind, const LedgerOwner &owner)
{
    const Ledger &l = ledger(kind);
    con.execute(QStringLiteral("UPDATE ") + l.cancelTable + QStringLiteral(" SET ") + l.issue(QStringLiteral("Cancel"))
                    + QStringLiteral(" = 1 WHERE ") + l.transColumn + QStringLiteral(" = ? AND ")
                    + l.issue(QStringLiteral("InterfaceId")) + QStringLiteral(" = ? AND ") + l.issue(QStringLiteral("ShopId"))
                    + QStringLiteral(" = ?"),
                {owner.transId, owner.interfaceId, owner.shopId});
}

QList<QStringList> readIssueLedger(Connection &con, IssueLedger kind, const LedgerOwner &owner)
{
    const Ledger &l = ledger(kind);
    const QString owned = l.issue(QStringLiteral("InterfaceId")) + QStringLiteral(" = ? AND ") + l.issue(QStringLiteral("ShopId"))
        + QStringLiteral(" = ? AND ") + l.transColumn + QStringLiteral(" = ? ORDER BY ") + l.issue(QStringLiteral("DetailId"));
    // A location row shows its location's name beside its id.
    const bool byLocation = kind == IssueLedger::Location;
    const QString statement = byLocation
        ? QStringLiteral("SELECT Issue.*, Location.lLocationName FROM ") + l.issueTable
            + QStringLiteral(" Issue, losLocation Location WHERE Issue.") + l.issue(QStringLiteral("LocationId"))
            + QStringLiteral(" = Location.lLocationId AND Issue.") + l.issue(QStringLiteral("ShopId"))
            + QStringLiteral(" = Location.lShopId AND ") + owned
        : QStringLiteral("SELECT *  FROM ") + l.issueTable + QStringLiteral(" a where ") + owned;
    const Recordset rs = con.query(statement, {owner.interfaceId, owner.shopId, owner.transId});
    QList<QStringList> rows;
    for (int r = 0; r < rs.recordCount(); ++r) {
        QStringList cells(AllocationColumnCount);
        cells[0] = QString::number(r + 1);
        // Every field but the expiry date goes back to the ledger on save exactly as it came out.
        for (const LedgerColumn &c : l.columns) {
            if (c.allocation < 0)
                continue;
            const QVariant value = rs.value(r, c.name);
            cells[c.allocation] = c.cell == Cell::Date ? cellText(value) : exactCellText(value);
        }
        if (byLocation)
            cells[locationcol::LocationName] = exactCellText(rs.value(r, QStringLiteral("lLocationName")));
        rows << cells;
    }
    return rows;
}

} // namespace shop
