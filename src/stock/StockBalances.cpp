#include "stock/StockBalances.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Connection.h>
#include "stock/Ledgers.h"

#include <QVariantList>
#include <vector>

namespace shop {

namespace {

// One piece of a balance statement: the same in both variants, or different in the
// one that leaves the edited return's own issues out.
struct Fragment {
    const char *plain;
    const char *excluding = nullptr;
};

using Fragments = std::vector<Fragment>;

// The statements of one ledger kind (arrivals, %1, less issues, %2): the list of what
// holds stock, and the balance of one key (a batch, a serial) where the kind has one.
struct LedgerStatements {
    IssueLedger kind;
    Fragments list;
    Fragments one;
};

// An issue row is the edited return's own only when both its transaction and its
// owner (the interface) are the return's: another module's issue under the same
// number still takes stock.
const LedgerStatements &locationLedger()
{
    static const LedgerStatements s{
        IssueLedger::Location,
        {{"SELECT locationid, itemid, qty, LosLocation.lLocationName  FROM"},
         {"(SELECT locationid, shopId, ItemId, SUM(qty) qty FROM"},
         {" (SELECT"},
         {" ladlocationid locationid, ladshopid shopId, "},
         {"ladItemId ItemId ,SUM(ladItemQty) Qty  "},
         {" FROM %1"},
         {" WHERE ladshopId = ?"},
         {" AND ladItemId = ?"},
         {" AND ladCancel = 0"},
         {" GROUP BY ladlocationid, ladshopId,ladItemId "},
         {" UNION ALL"},
         {" SELECT lidlocationid, lidshopId, lidItemId, - SUM(lidItemQty)"},
         {" FROM %2"},
         {" WHERE lidshopId = ?"},
         {" AND lidItemId =  ?"},
         {" AND lidCancel = 0", " AND lidCancel = 0 and  (lidtransid <> ? or lidInterfaceId <> ?)"},
         {" GROUP BY lidlocationid, lidshopId,lidItemId) a", " GROUP BY lidlocationid, lidshopid,lidItemId) a"},
         {" GROUP BY locationid, shopId, ItemId HAVING Sum(qty) > 0)B,"},
         {" LOsLocation WHERE B.LocationId = LOsLocation.lLocationId AND"},
         {" b.shopId = losLocation.lshopId order by locationid asc",
          "  b.shopId = losLocation.lshopId order by locationid asc"}},
        {}};
    return s;
}

const LedgerStatements &expiryLedger()
{
    static const LedgerStatements s{
        IssueLedger::Expiry,
        {{"SELECT ExpiryDate, shopId,", "SELECT ExpiryDate,shopId,"},
         {" ItemId, SUM(qty) qty, eadbatchno", " ItemId, SUM(qty) qty,eadbatchno"},
         {" FROM"},
         {" (SELECT"},
         {" eadExpiryDate ExpiryDate, eadshopid shopId, ", " eadExpiryDate ExpiryDate, eadshopId shopId,"},
         {" eadItemId ItemId , SUM(eadItemQty) Qty, eadbatchno"},
         {" FROM %1"},
         {" WHERE eadshopId = ?", " WHERE eadshopid = ?"},
         {" AND eadItemId = ?"},
         {" AND eadCancel = 0", " AND eadCancel = 0 "},
         {" GROUP BY eadExpiryDate, eadshopId, eadItemId, eadbatchno"},
         {" UNION ALL"},
         {" SELECT eidExpiryDate, eidshopId, eidItemId, - SUM(eidItemQty), eidbatchno"},
         {" FROM %2"},
         {" WHERE eidshopId = ?"},
         {" AND eidItemId =  ?"},
         {" AND eidCancel = 0", " AND eidCancel = 0 and (eIdtransactionid <> ? or eidInterfaceId <> ?)"},
         {" GROUP BY eidExpiryDate, eidshopId, eidItemId, eidbatchno) a"},
         {" GROUP BY ExpiryDate, shopId, ItemId, eadbatchno"},
         {" HAVING Sum(qty) > 0 order by eadbatchno asc"}},
        {{"SELECT ExpiryDate,"},
         {" SUM(qty) qty"},
         {" FROM"},
         {" (SELECT"},
         {" eadExpiryDate ExpiryDate, eadShopId ShopId, "},
         {" eadItemId ItemId , SUM(eadItemQty) Qty,eadbatchno"},
         {" FROM %1"},
         {" WHERE eadShopId = ?"},
         {" AND eadItemId = ?"},
         {" AND eadCancel = 0"},
         {" GROUP BY eadExpiryDate, eadShopId, eadItemId,eadbatchno"},
         {" UNION ALL"},
         {" SELECT eidExpiryDate, eidShopId, eidItemId, - SUM(eidItemQty), eidbatchno"},
         {" FROM %2"},
         {" WHERE eidShopId = ?"},
         {" AND eidItemId =  ?"},
         {" AND eidCancel = 0", " AND eidCancel = 0 and (eIdtransactionid <> ? or eidInterfaceId <> ?)"},
         {" GROUP BY eidExpiryDate, eidShopId, eidItemId, eidbatchno) a"},
         {" GROUP BY ExpiryDate, ShopId,eadbatchno, ItemId"},
         {" HAVING Sum(qty) > 0  and eadbatchno= ?"}}};
    return s;
}

const LedgerStatements &serialLedger()
{
    static const LedgerStatements s{
        IssueLedger::Serial,
        {{"SELECT SerialNo, ShopId,"},
         {" ItemId,SUM(qty) qty", " ItemId, SUM(qty) qty"},
         {" FROM"},
         {" (SELECT"},
         {" sadSerialNo SerialNo, sadShopId ShopId, "},
         {" sadItemId ItemId , SUM(sadItemQty) Qty"},
         {" FROM %1"},
         {" WHERE sadShopId = ?"},
         {" AND sadItemId = ?"},
         {" AND sadCancel = 0", " AND sadCancel = 0 "},
         {" GROUP BY sadSerialNo, sadShopId, sadItemId"},
         {" UNION ALL"},
         {" SELECT sidSerialNo, sidShopId, sidItemId, - SUM(sidItemQty)"},
         {" FROM %2"},
         {" WHERE sidShopId = ?"},
         {" AND sidItemId =  ?"},
         {" AND sidCancel = 0", " AND sidCancel = 0 and (sidtransactionid <> ? or sidInterfaceId <> ?)"},
         {" GROUP BY sidSerialNo, sidShopId, sidItemId) a"},
         {" GROUP BY SerialNo, ShopId, ItemId"},
         {" HAVING Sum(qty) > 0 order by SerialNo asc"}},
        {{"SELECT"},
         {" SUM(qty) qty"},
         {" FROM"},
         {" (SELECT"},
         {" sadShopId ShopId, "},
         {" sadItemId ItemId , SUM(sadItemQty) Qty,sadserialno"},
         {" FROM %1"},
         {" WHERE sadShopId = ?"},
         {" AND sadItemId = ?"},
         {" AND sadCancel = 0"},
         {" GROUP BY sadShopId, sadItemId,sadserialno"},
         {" UNION ALL"},
         {" SELECT sidShopId, sidItemId, - SUM(sidItemQty), sidserialno"},
         {" FROM %2"},
         {" WHERE sidShopId = ?"},
         {" AND sidItemId =  ?"},
         {" AND sidCancel = 0", " AND sidCancel = 0 and (sIdtransactionid <> ? or sidInterfaceId <> ?)"},
         {" GROUP BY sidShopId, sidItemId, sidserialno) a"},
         {" GROUP BY ShopId,sadserialno, ItemId"},
         {" HAVING Sum(qty) > 0  and sadserialno= ?"}}};
    return s;
}

// The statement text of a variant, joined once; the values are bound on each run.
QString build(IssueLedger kind, const Fragments &fragments, bool excluding)
{
    QString text;
    for (const Fragment &f : fragments)
        text += QString::fromLatin1(excluding && f.excluding ? f.excluding : f.plain);
    return text.arg(ledger(kind).arrivalTable, ledger(kind).issueTable);
}

struct Variants {
    QString plain;
    QString excluding;
    Variants(const LedgerStatements &s, const Fragments &f)
        : plain(build(s.kind, f, false)), excluding(build(s.kind, f, true))
    {
    }
    const QString &of(const BalanceOwner &owner) const { return owner.excluded.isStored() ? excluding : plain; }
};

// Arrivals and issues of the shop and item, then the excluded return, then the key.
QVariantList values(const BalanceOwner &owner, const QVariant &key = {})
{
    QVariantList v{owner.shopId, owner.itemId, owner.shopId, owner.itemId};
    if (owner.excluded.isStored())
        v << owner.excluded.value() << owner.interfaceId;
    if (key.isValid())
        v << key;
    return v;
}

const Variants &locationList()
{
    static const Variants v(locationLedger(), locationLedger().list);
    return v;
}
const Variants &batchList()
{
    static const Variants v(expiryLedger(), expiryLedger().list);
    return v;
}
const Variants &serialList()
{
    static const Variants v(serialLedger(), serialLedger().list);
    return v;
}
const Variants &oneBatch()
{
    static const Variants v(expiryLedger(), expiryLedger().one);
    return v;
}
const Variants &oneSerial()
{
    static const Variants v(serialLedger(), serialLedger().one);
    return v;
}

QString trimmedText(const QVariant &value) { return value.isNull() ? QString() : value.toString().trimmed(); }

} // namespace

namespace {

// Each list as a branch of the lists' statement: a tag, then the location, the
// label, the expiry date and the quantity, typed alike on both backends.
QString listBranch(int tag, const QString &list)
{
    switch (tag) {
    case 1:
        return QStringLiteral("select 1 k, x.locationid n, x.lLocationName t, cast(null as date) d, x.qty q from (%1) x").arg(list);
    case 2:
        return QStringLiteral("select 2, cast(null as integer), x.eadbatchno, x.ExpiryDate, x.qty from (%1) x").arg(list);
    default:
        return QStringLiteral("select 3, cast(null as integer), x.SerialNo, cast(null as date), x.qty from (%1) x").arg(list);
    }
}

// The statement of the lists asked for, with its values; empty when none is.
BalanceStatement listsStatement(const BalanceOwner &owner, BalanceLists wanted)
{
    QStringList branches;
    QVariantList bound;
    const std::pair<bool, const Variants &> lists[] = {
        {wanted.locations, locationList()}, {wanted.batches, batchList()}, {wanted.serials, serialList()}};
    for (int i = 0; i < 3; ++i) {
        if (!lists[i].first)
            continue;
        branches << listBranch(i + 1, lists[i].second.of(owner));
        bound << values(owner);
    }
    if (branches.isEmpty())
        return {};
    // Each list in the order its own statement gives: by location, by batch (then
    // expiry date), by serial number.
    return {QStringLiteral("lists"), branches.join(QStringLiteral(" union all ")) + QStringLiteral(" order by 1, 2, 3, 4"),
            bound};
}

} // namespace

ItemBalances StockBalances::lists(const BalanceOwner &owner, BalanceLists wanted) const
{
    const BalanceStatement statement = listsStatement(owner, wanted);
    ItemBalances out;
    if (statement.statement.isEmpty())
        return out;
    const Recordset rs = m_con.query(statement.statement, statement.values);
    if (wanted.locations)
        out.locations.emplace();
    if (wanted.batches)
        out.batches.emplace();
    if (wanted.serials)
        out.serials.emplace();
    for (const QVariantList &row : rs.rows()) {
        const Decimal quantity = Decimal::fromVariant(row.at(4));
        switch (toInt32(row.at(0))) {
        case 1:
            out.locations->append({toInt32(row.at(1)), trimmedText(row.at(2)), quantity});
            break;
        case 2:
            out.batches->append({row.at(2).toString(), dateValue(row.at(3)), quantity});
            break;
        default:
            out.serials->append({row.at(2).toString(), quantity});
            break;
        }
    }
    return out;
}

// A list read alone is the lists' statement with one branch: one way of reading them.
QList<LocationBalance> StockBalances::locations(const BalanceOwner &owner) const
{
    return lists(owner, {.locations = true}).locations.value_or(QList<LocationBalance>());
}

QList<BatchBalance> StockBalances::batches(const BalanceOwner &owner) const
{
    return lists(owner, {.batches = true}).batches.value_or(QList<BatchBalance>());
}

QList<SerialBalance> StockBalances::serials(const BalanceOwner &owner) const
{
    return lists(owner, {.serials = true}).serials.value_or(QList<SerialBalance>());
}

std::optional<BatchBalance> StockBalances::batch(const BalanceOwner &owner, const QString &batchNo) const
{
    const Recordset rs = m_con.query(oneBatch().of(owner), values(owner, batchNo));
    if (rs.isEmpty())
        return std::nullopt;
    // A batch that arrived under two expiry dates goes out under the earlier one first;
    // the statement leaves their order open.
    int first = 0;
    for (int r = 1; r < rs.recordCount(); ++r)
        if (dateValue(rs.value(r, QStringLiteral("ExpiryDate"))) < dateValue(rs.value(first, QStringLiteral("ExpiryDate"))))
            first = r;
    return BatchBalance{batchNo, dateValue(rs.value(first, QStringLiteral("ExpiryDate"))),
                        Decimal::fromVariant(rs.value(first, QStringLiteral("qty")))};
}

std::optional<Decimal> StockBalances::serial(const BalanceOwner &owner, const QString &serialNo) const
{
    const Recordset rs = m_con.query(oneSerial().of(owner), values(owner, serialNo));
    if (rs.isEmpty())
        return std::nullopt;
    return Decimal::fromVariant(rs.value(0, QStringLiteral("qty")));
}

Decimal StockBalances::returnedByEntry(qint32 shopId, TransactionId entry, qint32 itemId) const
{
    if (!entry.isStored())
        return {};
    const Recordset rs = m_con.query(
        QStringLiteral("select sum(d.WdPurchaseReturnQty) from LOsPurchaseReturnDetail d, LOsPurchaseReturnHeader h")
            + QStringLiteral(" where d.wdshopid = h.whShopID and d.WdID = h.WhID and h.whcancelled = 0")
            + QStringLiteral(" and d.wdshopid = ? and d.WdID = ? and d.WdItemID = ?"),
        {shopId, entry.value(), itemId});
    return rs.isEmpty() ? Decimal() : valDecimal(cellText(rs.value(0, 0)));
}

QList<BalanceStatement> StockBalances::statements(const BalanceOwner &owner, const QString &batchNo,
                                                 const QString &serialNo)
{
    const auto alone = [&](const char *name, BalanceLists wanted) {
        BalanceStatement s = listsStatement(owner, wanted);
        s.name = QString::fromLatin1(name);
        return s;
    };
    return {alone("locations", {.locations = true}),
            alone("batches", {.batches = true}),
            alone("serials", {.serials = true}),
            {QStringLiteral("one batch"), oneBatch().of(owner), values(owner, batchNo)},
            {QStringLiteral("one serial"), oneSerial().of(owner), values(owner, serialNo)},
            listsStatement(owner, {true, true, true})};
}

} // namespace shop
