#include "stock/StockRecheck.h"

#include "common/core/Conversions.h"
#include "common/core/Decimal.h"

namespace shop {

namespace {

// How a shortfall message names a place of the ledger; a location is shown by its name.
QString placeWording(IssueLedger kind)
{
    switch (kind) {
    case IssueLedger::Location:
        return QStringLiteral("in location %1");
    case IssueLedger::Expiry:
        return QStringLiteral("in batch %1");
    case IssueLedger::Serial:
        break;
    }
    return QStringLiteral("with serial number %1");
}

QString itemName(Connection &con, const QVariant &itemId)
{
    const QVariant name = con.scalar(QStringLiteral("select ItemDescription from vwItemDescription where ItemId = ?"), {itemId});
    return name.isNull() ? QStringLiteral("item %1").arg(itemId.toString()) : name.toString().trimmed();
}

// A place's shortfall: the stock there before this return's rows (after the save plus
// what the return now takes), what it takes, and whether the place was already short
// before the save. Only then is there nothing to guess about another terminal.
QString shortfallMessage(const QString &item, const QString &where, Decimal left, Decimal wanted, bool shortBefore)
{
    QString text = QStringLiteral("Not enough stock of ") + item;
    if (!where.isEmpty())
        text += QLatin1Char(' ') + where;
    text += QStringLiteral(": ") + formatNumber(left, fmt::Fixed3) + QStringLiteral(" left, the return takes ")
        + formatNumber(wanted, fmt::Fixed3) + QLatin1Char('.');
    return shortBefore ? text : text + QStringLiteral(" Another terminal may have taken it meanwhile.");
}

QString placeKey(const QString &ledgerName, const Recordset &rows, int row, int keyCount)
{
    QStringList key{ledgerName};
    for (int c = 0; c <= keyCount; ++c)
        key << rows.value(row, c).toString();
    return key.join(QChar(0x1f));
}

// The columns that name a place of the ledger in its issue rows `r`, and how a row of
// the ledger `other` matches it.
QStringList placeColumns(const Ledger &l)
{
    QStringList keys;
    for (const QString &k : l.placeKeys)
        keys << QStringLiteral("r.") + l.issue(k);
    return keys;
}

// What the return holds at each place of the ledger, by item and place.
void addHeld(Connection &con, const Ledger &l, const LedgerOwner &owner, HeldStock &held)
{
    const QString &i = l.issuePrefix;
    const QString keys = placeColumns(l).join(QStringLiteral(", "));
    const Recordset rows = con.query(QStringLiteral("select r.%1ItemId, %2, sum(r.%1ItemQty) from %3 r where r.%1InterfaceId = ? "
                                                    "and r.%1ShopId = ? and r.%4 = ? and r.%1Cancel = 0 group by r.%1ItemId, %2")
                                         .arg(i, keys, l.issueTable, l.transColumn),
                                     {owner.interfaceId, owner.shopId, owner.transId});
    const int keyCount = static_cast<int>(l.placeKeys.size());
    for (int r = 0; r < rows.recordCount(); ++r)
        held.quantities.insert(placeKey(l.issueTable, rows, r, keyCount), Decimal::fromVariant(rows.value(r, 1 + keyCount)));
}

// The first place of the ledger where the return leaves a balance below zero and takes
// more than it held there before the save.
std::optional<QString> ledgerShortfall(Connection &con, IssueLedger kind, const LedgerOwner &owner, const HeldStock &held)
{
    const Ledger &l = ledger(kind);
    const QString &i = l.issuePrefix;
    const QString &a = l.arrivalPrefix;
    QStringList arrivalMatch, issueMatch;
    const auto same = [](const QString &left, const QString &right, const QString &key) {
        // A missing batch number and an empty one are the same batch; dates match or are both missing.
        if (key == QLatin1String("BatchNo"))
            return QStringLiteral("isnull(%1, '') = isnull(%2, '')").arg(left, right);
        return QStringLiteral("(%1 = %2 or (%1 is null and %2 is null))").arg(left, right);
    };
    for (const QString &k : l.placeKeys) {
        arrivalMatch << same(QStringLiteral("x.") + a + k, QStringLiteral("r.") + i + k, k);
        issueMatch << same(QStringLiteral("y.") + i + k, QStringLiteral("r.") + i + k, k);
    }
    const QString keys = placeColumns(l).join(QStringLiteral(", "));
    const QString arrived = QStringLiteral("isnull((select sum(x.%1ItemQty) from %2 x where x.%1ShopId = r.%3ShopId and "
                                           "x.%1ItemId = r.%3ItemId and x.%1Cancel = 0 and %4), 0)")
                                .arg(a, l.arrivalTable, i, arrivalMatch.join(QStringLiteral(" and ")));
    const QString issued = QStringLiteral("isnull((select sum(y.%1ItemQty) from %2 y where y.%1ShopId = r.%1ShopId and "
                                          "y.%1ItemId = r.%1ItemId and y.%1Cancel = 0 and %3), 0)")
                               .arg(i, l.issueTable, issueMatch.join(QStringLiteral(" and ")));
    const QString statement =
        QStringLiteral("select r.%1ItemId, %2, sum(r.%1ItemQty), %3 - %4 from %5 r where r.%1InterfaceId = ? and "
                       "r.%1ShopId = ? and r.%6 = ? and r.%1Cancel = 0 group by r.%1ShopId, r.%1ItemId, %2 "
                       "having %3 - %4 < 0")
            .arg(i, keys, arrived, issued, l.issueTable, l.transColumn);
    const Recordset rows = con.query(statement, {owner.interfaceId, owner.shopId, owner.transId});
    const int keyCount = static_cast<int>(l.placeKeys.size());
    for (int r = 0; r < rows.recordCount(); ++r) {
        const Decimal wanted = Decimal::fromVariant(rows.value(r, 1 + keyCount));
        const Decimal after = Decimal::fromVariant(rows.value(r, 2 + keyCount));
        const Decimal before = held.quantities.value(placeKey(l.issueTable, rows, r, keyCount));
        if (wanted <= before)
            continue; // the return takes no more here than it did: it makes nothing worse
        QString place = rows.value(r, 1).toString();
        if (kind == IssueLedger::Location) {
            const QVariant name = con.scalar(
                QStringLiteral("select lLocationName from losLocation where lLocationId = ? and lShopId = ?"),
                {rows.value(r, 1), owner.shopId});
            place = name.isNull() ? place : name.toString().trimmed();
        }
        return shortfallMessage(itemName(con, rows.value(r, 0)), placeWording(kind).arg(place), after + wanted, wanted,
                                after + wanted - before < Decimal());
    }
    return std::nullopt;
}

const QString StockOfShop = QStringLiteral("mosShopStock");

} // namespace

HeldStock heldByReturn(Connection &con, const LedgerOwner &owner, bool byLocation)
{
    HeldStock held;
    const Recordset items = con.query(QStringLiteral("select wditemid, sum(wdpurchasereturnqty) from LOsPurchaseReturnDetail "
                                                     "where wdshopid = ? and wdid = ? group by wditemid"),
                                      {owner.shopId, owner.transId});
    for (int r = 0; r < items.recordCount(); ++r)
        held.quantities.insert(placeKey(StockOfShop, items, r, 0), Decimal::fromVariant(items.value(r, 1)));
    for (IssueLedger kind : IssueLedgers)
        if (kind != IssueLedger::Location || byLocation)
            addHeld(con, ledger(kind), owner, held);
    return held;
}

std::optional<QString> stockShortfall(Connection &con, const LedgerOwner &owner, bool byLocation, const HeldStock &held)
{
    // The shop's stock of each item, after the return's own stock updates.
    const Recordset items = con.query(
        QStringLiteral("select d.wditemid, sum(d.wdpurchasereturnqty), m.stock from LOsPurchaseReturnDetail d, mosShopStock m "
                       "where d.wdshopid = ? and d.wdid = ? and m.shopid = d.wdshopid and m.itemid = d.wditemid "
                       "group by d.wditemid, m.stock having m.stock < 0"),
        {owner.shopId, owner.transId});
    for (int r = 0; r < items.recordCount(); ++r) {
        const Decimal wanted = Decimal::fromVariant(items.value(r, 1));
        const Decimal after = Decimal::fromVariant(items.value(r, 2));
        const Decimal before = held.quantities.value(placeKey(StockOfShop, items, r, 0));
        if (wanted > before)
            return shortfallMessage(itemName(con, items.value(r, 0)), QString(), after + wanted, wanted,
                                    after + wanted - before < Decimal());
    }
    for (IssueLedger kind : IssueLedgers) {
        if (kind == IssueLedger::Location && !byLocation)
            continue;
        if (auto message = ledgerShortfall(con, kind, owner, held))
            return message;
    }
    return std::nullopt;
}

} // namespace shop
