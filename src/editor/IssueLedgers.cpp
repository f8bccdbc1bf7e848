#include "editor/IssueLedgers.h"

#include "common/core/Conversions.h"
#include "common/core/ModuleError.h"
#include "editor/PurchaseReturnEntry.h"

#include <vector>

namespace shop {

namespace {

// How a ledger column is filled from its allocation cell.
enum class Cell {
    Id,            // a whole number (leading-number conversion)
    OptionalId,    // Null when the cell is empty, else as Id
    Quantity,      // an exact quantity; text that is not a number counts as 0
    Text,
    Date,
    Zero,          // written 0 whatever the table holds
};

struct Column {
    const char *name;
    int source;
    Cell cell;
};

struct Definition {
    const char *table;
    const char *interfaceColumn;
    const char *shopColumn;
    const char *transColumn;
    const char *detailColumn;
    const char *cancelColumn;
    const char *cancelTable; // as the cancellation has always spelt it
    std::vector<Column> columns;
};

const Definition &definition(IssueLedger ledger)
{
    static const Definition location{
        "losLocationIssueDetails", "lidInterfaceId", "lidShopId", "lidTransId", "liddetailid", "lidCancel",
        "losLocationIssueDetails",
        {{"lidlocationid", locationcol::LocationId, Cell::Id},
         {"liditemid", locationcol::ItemId, Cell::Id},
         {"liditemqty", locationcol::Quantity, Cell::Quantity},
         {"lidpackingtypeid", locationcol::PackingTypeId, Cell::OptionalId},
         {"lidPakingQty", locationcol::PackingQty, Cell::Quantity}}};
    static const Definition expiry{
        "losExpiryIssueDetails", "eidInterfaceId", "eidShopId", "eidTransactionId", "eiddetailid", "eidCancel",
        "losExpiryIssueDetails",
        {{"eidexpirydate", expirycol::ExpiryDate, Cell::Date},
         {"eiditemid", expirycol::ItemId, Cell::Id},
         {"eiditemqty", expirycol::Quantity, Cell::Quantity},
         {"eidBatchNo", expirycol::BatchNo, Cell::Text},
         {"eidpackingtypeid", expirycol::PackingTypeId, Cell::OptionalId},
         {"eidpackingqty", expirycol::PackingQty, Cell::Quantity}}};
    static const Definition serial{
        "losSerialIssueDetails", "sidInterfaceId", "sidShopId", "sidTransactionId", "siddetailid", "sidCancel",
        "losserialIssueDetails",
        {{"sidSerialNo", serialcol::SerialNo, Cell::Text},
         {"siditemid", serialcol::ItemId, Cell::Id},
         {"siditemqty", serialcol::Quantity, Cell::Quantity},
         {"sidpackingtypeid", serialcol::PackingTypeId, Cell::OptionalId},
         {"sidpackingqty", serialcol::PackingQty, Cell::Quantity},
         {"sidCancel", -1, Cell::Zero},
         {"sidAdjustment", -1, Cell::Zero},
         {"sidFreeQty", -1, Cell::Zero}}};
    switch (ledger) {
    case IssueLedger::Location:
        return location;
    case IssueLedger::Expiry:
        return expiry;
    case IssueLedger::Serial:
        break;
    }
    return serial;
}

QVariant cellValue(const TextTable &table, int row, const Column &column)
{
    const QString text = column.source < 0 ? QString() : table.text(row, column.source);
    switch (column.cell) {
    case Cell::Id:
        return toInt32(valDecimal(text));
    case Cell::OptionalId:
        return text.trimmed().isEmpty() ? QVariant() : QVariant(toInt32(valDecimal(text)));
    case Cell::Quantity:
        return valDecimal(text).toString();
    case Cell::Text:
        return storedText(text);
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

QString name(const char *text) { return QString::fromLatin1(text); }

} // namespace

QString issueLedgerOwnerRows(IssueLedger ledger)
{
    const Definition &d = definition(ledger);
    return QStringLiteral("FROM ") + name(d.table) + QStringLiteral(" WHERE ") + name(d.interfaceColumn)
        + QStringLiteral(" = ? AND ") + name(d.shopColumn) + QStringLiteral(" = ? AND ") + name(d.transColumn)
        + QStringLiteral(" = ?");
}

void rewriteIssueLedger(Connection &con, IssueLedger ledger, const TextTable &allocations, const LedgerOwner &owner)
{
    const Definition &d = definition(ledger);
    con.execute(QStringLiteral("DELETE ") + issueLedgerOwnerRows(ledger), {owner.interfaceId, owner.shopId, owner.transId});

    QStringList columns{name(d.interfaceColumn), name(d.shopColumn), name(d.transColumn), name(d.detailColumn)};
    for (const Column &c : d.columns)
        columns << name(c.name);
    const QString insert = QStringLiteral("insert into ") + name(d.table) + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
        + QStringLiteral(") values (") + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
        + QLatin1Char(')');
    for (int row = 1; row < allocations.rowCount(); ++row) {
        QVariantList values{owner.interfaceId, owner.shopId, owner.transId, row};
        for (const Column &c : d.columns)
            values << cellValue(allocations, row, c);
        con.execute(insert, values);
    }
}

void cancelIssueLedger(Connection &con, IssueLedger ledger, const LedgerOwner &owner)
{
    const Definition &d = definition(ledger);
    con.execute(QStringLiteral("UPDATE ") + name(d.cancelTable) + QStringLiteral(" SET ") + name(d.cancelColumn)
                    + QStringLiteral(" = 1 WHERE ") + name(d.transColumn) + QStringLiteral(" = ? AND ")
                    + name(d.interfaceColumn) + QStringLiteral(" = ? AND ") + name(d.shopColumn) + QStringLiteral(" = ?"),
                {owner.transId, owner.interfaceId, owner.shopId});
}

} // namespace shop

