#include "items/ItemIdentification.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Connection.h>
#include "common/db/SqlText.h"

namespace shop {

namespace {

QString codeFilter(ItemTypeRule rule)
{
    return rule == ItemTypeRule::OnlyTypeB ? QStringLiteral(" and a.itemtype = 'B'") : QStringLiteral(" and a.itemtype <> 'B'");
}

// Only the two stock views of the suite are ever named in a statement.
QString stockViewName(const QString &view)
{
    return view.compare(QLatin1String("vwInquiryShopStockSummary"), Qt::CaseInsensitive) == 0
        ? QStringLiteral("vwInquiryShopStockSummary")
        : QStringLiteral("vwInquiryShopStock");
}

// The columns every identification reads of its item `a`: the facts, the shop's stock
// and whether any of it is on hand, and the description; the shop bound twice first.
QString itemColumns(const QString &stockView)
{
    const QString view = stockViewName(stockView);
    return QStringLiteral("select a.itemid, a.ExpiryNoOfDays, a.SerialNoActive, a.SerialNodupli, a.Itemcode, "
                          "(select sum(s.stock) from %1 s where s.itemid = a.itemid and s.shopid = ?) stock, "
                          "case when exists (select 1 from %1 s, vwitemdescription v where s.itemid = a.itemid "
                          "and v.itemid = s.itemid and s.stock > 0 and s.shopid = ?) then 1 else 0 end onhand, "
                          "(select min(v.itemdescription) from vwitemdescription v where v.itemid = a.itemid) description ")
        .arg(view);
}

std::optional<IdentifiedItem> firstItem(Connection &con, const ItemLookup &lookup, const QString &from,
                                        const QVariantList &values, IdentifiedItem::By by)
{
    const Recordset rs = con.query(itemColumns(lookup.stockView) + from, QVariantList{lookup.shopId, lookup.shopId} + values);
    if (rs.isEmpty())
        return std::nullopt;
    const auto flag = [&](int column) { return !rs.value(0, column).isNull() && toBool(rs.value(0, column)); };
    IdentifiedItem item;
    item.itemId = toInt32(rs.value(0, 0));
    item.by = by;
    const QVariant days = rs.value(0, 1);
    item.facts.hasExpiry = !days.isNull() && val(days.toString()) > 0;
    item.facts.hasSerialNo = flag(2);
    item.facts.serialsMayRepeat = item.facts.hasSerialNo && flag(3);
    item.facts.code = cellText(rs.value(0, 4));
    // A sum at or below nothing is no stock to give back.
    const Decimal stock = rs.value(0, 5).isNull() ? Decimal() : valDecimal(cellText(rs.value(0, 5)));
    item.stock = stock > Decimal() ? stock : Decimal();
    if (flag(6))
        item.description = cellText(rs.value(0, 7));
    return item;
}

// The shortcut number of a numeric code: the value of its first four characters.
std::optional<QString> shortcutNumber(const QString &code)
{
    if (!Decimal::parse(code))
        return std::nullopt;
    const Decimal number = valDecimal(code.left(4));
    QString text = number.toString(3);
    while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text;
}

} // namespace

ItemTypeRule itemTypeRule(Connection &con, qint32 shopId)
{
    const QString rule = con.scalar(QStringLiteral("select futurevarchar from aShops where ShopID = ?"), {shopId}).toString();
    return rule.left(1).toUpper() == QLatin1String("B") ? ItemTypeRule::OnlyTypeB : ItemTypeRule::AllButTypeB;
}

QString fetchItemTypeFilter(ItemTypeRule rule)
{
    return rule == ItemTypeRule::OnlyTypeB ? QStringLiteral(" and a.itemtype ='B'") : QStringLiteral(" and a.itemtype <>'B'");
}

bool itemCodesMayRepeat(Connection &con)
{
    const QVariant flag = con.scalar(QStringLiteral("select AllowItemCodeDuplication from apackagesettings"));
    return !flag.isNull() && toBool(flag);
}

std::optional<IdentifiedItem> identifyItem(Connection &con, const QString &code, const ItemLookup &lookup)
{
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QString filter = codeFilter(lookup.rule);
    if (auto item = firstItem(con, lookup,
                              QStringLiteral("from aItemPackingDetail apd, aItem a ")
                                  + QStringLiteral(" where apd.packingbarcode = ?")
                                  + QStringLiteral(" and apd.itemid = a.itemid ") + filter
                                  + QStringLiteral(" and apd.Active = 1") + QStringLiteral(" and a.Active = 1"),
                              {trimmed}, IdentifiedItem::By::PackingBarcode))
        return item;
    if (const auto number = shortcutNumber(trimmed)) {
        if (auto item = firstItem(con, lookup,
                                  QStringLiteral("from ashopitemDetail ai, aItem a")
                                      + QStringLiteral(" Where a.itemid = ai.itemid")
                                      + QStringLiteral(" And ai.itemID = ai.itemID")
                                      + QStringLiteral(" And ai.shortcutno = ?") + QStringLiteral(" And ai.shopid = ?")
                                      + QStringLiteral(" ") + filter + QStringLiteral(" And a.Active = 1"),
                                  {*number, lookup.shopId}, IdentifiedItem::By::Shortcut))
            return item;
    }
    if (!lookup.codesMayRepeat) {
        if (auto item = firstItem(con, lookup,
                                  QStringLiteral("from aItem a") + QStringLiteral(" Where itemcode = ?") + filter
                                      + QStringLiteral(" And a.Active = 1"),
                                  {trimmed}, IdentifiedItem::By::ItemCode))
            return item;
    }
    return std::nullopt;
}

std::optional<IdentifiedItem> itemById(Connection &con, qint32 itemId, const ItemLookup &lookup)
{
    return firstItem(con, lookup, QStringLiteral("from aItem a where a.itemid = ?"), {itemId}, IdentifiedItem::By::Id);
}

ItemFetch itemFetch(Connection &con, qint32 shopId, ItemTypeRule rule)
{
    ItemFetch f;
    f.statement = QStringLiteral("select distinct(s.itemid), a.itemcode, v.itemdescription, ")
        + QStringLiteral(" a.brand, a.modelno, isnull(a.part_code,'') part_code ")
        + QStringLiteral(" from mosShopStock s, vwitemdescription v ,aitem a") + QStringLiteral(" where s.itemid = v.itemid ")
        + fetchItemTypeFilter(rule) + QStringLiteral(" and s.stock > 0") + QStringLiteral(" and a.itemid = v.itemid ")
        + QStringLiteral(" and s.shopid = ") + sqlNumber(shopId) + QStringLiteral(" and a.Active = 1");
    f.fields = {QStringLiteral("ItemID"), QStringLiteral("ItemCode"), QStringLiteral("ItemDescription"),
                QStringLiteral("Brand"), QStringLiteral("ModelNo"), QStringLiteral("Part_Code")};
    f.captions = {QStringLiteral("Item ID"), QStringLiteral("Item Code"), QStringLiteral("Item Description"),
                  QStringLiteral("Brand"), QStringLiteral("Model No"), QStringLiteral("Part Code")};
    f.widths = {0, 2000, 4000, 2000, 2000, 2000};
    const QVariant chosen = con.scalar(QStringLiteral("select defaultfetch from lossettings where ShopID = ?"), {shopId});
    f.defaultField = 2;
    if (!chosen.isNull()) {
        const QString name = chosen.toString().trimmed().toUpper();
        for (int i = 1; i < f.fields.size(); ++i)
            if (f.fields.at(i).toUpper() == name)
                f.defaultField = i;
    }
    return f;
}

} // namespace shop
