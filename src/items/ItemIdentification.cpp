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

std::optional<qint32> firstItem(Connection &con, const QString &statement, const QVariantList &values)
{
    const Recordset rs = con.query(statement, values);
    if (rs.isEmpty())
        return std::nullopt;
    return toInt32(rs.value(0, 0));
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

std::optional<IdentifiedItem> identifyItem(Connection &con, const QString &code, qint32 shopId, ItemTypeRule rule,
                                           bool codesMayRepeat)
{
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QString filter = codeFilter(rule);
    if (const auto id = firstItem(con,
                                  QStringLiteral("select apd.itemid from aItemPackingDetail apd, aItem a ")
                                      + QStringLiteral(" where apd.packingbarcode = ?")
                                      + QStringLiteral(" and apd.itemid = a.itemid ") + filter
                                      + QStringLiteral(" and apd.Active = 1") + QStringLiteral(" and a.Active = 1"),
                                  {trimmed}))
        return IdentifiedItem{*id, IdentifiedItem::By::PackingBarcode};
    if (const auto number = shortcutNumber(trimmed)) {
        if (const auto id = firstItem(con,
                                      QStringLiteral("select ai.itemid from ashopitemDetail ai, aItem a")
                                          + QStringLiteral(" Where a.itemid = ai.itemid")
                                          + QStringLiteral(" And ai.itemID = ai.itemID")
                                          + QStringLiteral(" And ai.shortcutno = ?") + QStringLiteral(" And shopid = ?")
                                          + QStringLiteral(" ") + filter + QStringLiteral(" And a.Active = 1"),
                                      {*number, shopId}))
            return IdentifiedItem{*id, IdentifiedItem::By::Shortcut};
    }
    if (!codesMayRepeat) {
        if (const auto id = firstItem(con,
                                      QStringLiteral("select a.itemid from aItem a") + QStringLiteral(" Where itemcode = ?")
                                          + filter + QStringLiteral(" And a.Active = 1"),
                                      {trimmed}))
            return IdentifiedItem{*id, IdentifiedItem::By::ItemCode};
    }
    return std::nullopt;
}

qint32 itemOfPackingBarcode(Connection &con, const QString &barcode)
{
    return firstItem(con, QStringLiteral("select itemid from aItemPackingDetail where packingbarcode = ? And Active = 1"),
                     {barcode.trimmed()})
        .value_or(0);
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
