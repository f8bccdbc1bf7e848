#include "editor/StockRecheck.h"

#include "common/core/Conversions.h"
#include "common/core/Decimal.h"

namespace shop {

namespace {

// One ledger's balance key: the columns that say where the stock lies, in the issue
// ledger and in its arrival ledger, and how the message names the place.
struct Ledger {
    const char *issueTable;
    const char *issuePrefix;
    const char *transColumn;
    const char *arrivalTable;
    const char *arrivalPrefix;
    QStringList keys;   // without the prefix, the same in both ledgers; the first names the place
    QString what;       // "in location %1", "in batch %1", "with serial number %1"
    bool namedLocation; // the first key is a location id, shown by its name
};

const Ledger &ledger(IssueLedger kind)
{
    static const Ledger location{"losLocationIssueDetails", "lid", "lidTransId", "loslocationArrivalDetails", "lad",
                                 {QStringLiteral("LocationId")}, QStringLiteral("in location %1"), true};
    static const Ledger expiry{"losExpiryIssueDetails", "eid", "eidTransactionId", "losExpiryArrivalDetails", "ead",
                               {QStringLiteral("BatchNo"), QStringLiteral("ExpiryDate")}, QStringLiteral("in batch %1"), false};
    static const Ledger serial{"losSerialIssueDetails", "sid", "sidTransactionId", "losSerialArrivalDetails", "sad",
                               {QStringLiteral("SerialNo")}, QStringLiteral("with serial number %1"), false};
    switch (kind) {
    case IssueLedger::Location:
        return location;
    case IssueLedger::Expiry:
        return expiry;
    case IssueLedger::Serial:
        break;
    }
    return serial;
}

QString itemName(Connection &con, const QVariant &itemId)
{
    const QVariant name = con.scalar(QStringLiteral("select ItemDescription from vwItemDescription where ItemId = ?"), {itemId});
    return name.isNull() ? QStringLiteral("item %1").arg(itemId.toString()) : name.toString().trimmed();
}

QString shortfallMessage(const QString &item, const QString &where, Decimal left, Decimal wanted)
{
    QString text = QStringLiteral("Not enough stock of ") + item;
    if (!where.isEmpty())
        text += QLatin1Char(' ') + where;
    return text + QStringLiteral(": ") + formatNumber(left, fmt::Fixed3) + QStringLiteral(" left, the return takes ")
        + formatNumber(wanted, fmt::Fixed3) + QStringLiteral(". Another terminal may have taken it meanwhile.");
}

// The places of one ledger this return takes from whose balance it leaves below zero:
// item, keys, the balance left after the return and what the return takes there.
std::optional<QString> ledgerShortfall(Connection &con, const Ledger &l, const LedgerOwner &owner)
{
    const QString i = QString::fromLatin1(l.issuePrefix);
    const QString a = QString::fromLatin1(l.arrivalPrefix);
    QStringList keys, arrivalMatch, issueMatch;
    const auto same = [](const QString &left, const QString &right, const QString &key) {
        // A missing batch number and an empty one are the same batch; dates match or are both missing.
        if (key == QLatin1String("BatchNo"))
            return QStringLiteral("isnull(%1, '') = isnull(%2, '')").arg(left, right);
        return QStringLiteral("(%1 = %2 or (%1 is null and %2 is null))").arg(left, right);
    };
    for (const QString &k : l.keys) {
        keys << QStringLiteral("r.") + i + k;
        arrivalMatch << same(QStringLiteral("x.") + a + k, QStringLiteral("r.") + i + k, k);
        issueMatch << same(QStringLiteral("y.") + i + k, QStringLiteral("r.") + i + k, k);
    }
    const QString arrived = QStringLiteral("isnull((select sum(x.%1ItemQty) from %2 x where x.%1ShopId = r.%3ShopId and "
                                           "x.%1ItemId = r.%3ItemId and x.%1Cancel = 0 and %4), 0)")
                                .arg(a, QString::fromLatin1(l.arrivalTable), i, arrivalMatch.join(QStringLiteral(" and ")));
    const QString issued = QStringLiteral("isnull((select sum(y.%1ItemQty) from %2 y where y.%1ShopId = r.%1ShopId and "
                                          "y.%1ItemId = r.%1ItemId and y.%1Cancel = 0 and %3), 0)")
                               .arg(i, QString::fromLatin1(l.issueTable), issueMatch.join(QStringLiteral(" and ")));
    const QString statement =
        QStringLiteral("select r.%1ItemId, %2, %3 - %4, sum(r.%1ItemQty) from %5 r where r.%1InterfaceId = ? and "
                       "r.%1ShopId = ? and r.%6 = ? and r.%1Cancel = 0 group by r.%1ShopId, r.%1ItemId, %2 "
                       "having %3 - %4 < 0")
            .arg(i, keys.join(QStringLiteral(", ")), arrived, issued, QString::fromLatin1(l.issueTable),
                 QString::fromLatin1(l.transColumn));
    const Recordset rows = con.query(statement, {owner.interfaceId, owner.shopId, owner.transId});
    if (rows.isEmpty())
        return std::nullopt;
    const int keyCount = static_cast<int>(l.keys.size());
    const Decimal after = Decimal::fromVariant(rows.value(0, 1 + keyCount));
    const Decimal wanted = Decimal::fromVariant(rows.value(0, 2 + keyCount));
    QString place = rows.value(0, 1).toString();
    if (l.namedLocation) {
        const QVariant name = con.scalar(QStringLiteral("select lLocationName from losLocation where lLocationId = ? and lShopId = ?"),
                                         {rows.value(0, 1), owner.shopId});
        place = name.isNull() ? place : name.toString().trimmed();
    }
    return shortfallMessage(itemName(con, rows.value(0, 0)), l.what.arg(place), after + wanted, wanted);
}

} // namespace

std::optional<QString> stockShortfall(Connection &con, const LedgerOwner &owner, bool byLocation)
{
    // The shop's stock of each item, after the return's own stock updates.
    const Recordset items = con.query(
        QStringLiteral("select d.wditemid, m.stock, sum(d.wdpurchasereturnqty) from LOsPurchaseReturnDetail d, mosShopStock m "
                       "where d.wdshopid = ? and d.wdid = ? and m.shopid = d.wdshopid and m.itemid = d.wditemid "
                       "group by d.wditemid, m.stock having m.stock < 0"),
        {owner.shopId, owner.transId});
    if (!items.isEmpty()) {
        const Decimal after = Decimal::fromVariant(items.value(0, 1));
        const Decimal wanted = Decimal::fromVariant(items.value(0, 2));
        return shortfallMessage(itemName(con, items.value(0, 0)), QString(), after + wanted, wanted);
    }
    for (IssueLedger kind : {IssueLedger::Location, IssueLedger::Expiry, IssueLedger::Serial}) {
        if (kind == IssueLedger::Location && !byLocation)
            continue;
        if (auto message = ledgerShortfall(con, ledger(kind), owner))
            return message;
    }
    return std::nullopt;
}

} // namespace shop
