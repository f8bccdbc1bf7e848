#include "printing/PrintData.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Connection.h>
#include "common/db/SqlText.h"
#include "common/host/ModuleCommonDB.h"

namespace shop {

double revisedCostPrice(double itemRate, double percent) { return itemRate * (percent / 100 + 1); }

namespace printdata {

namespace {

QString text(const Recordset &rs, int row, const char *field)
{
    const QVariant v = rs.value(row, QLatin1String(field));
    return v.isNull() ? QString() : v.toString();
}

double number(const Recordset &rs, int row, const char *field)
{
    const QVariant v = rs.value(row, QLatin1String(field));
    return v.isNull() ? 0.0 : val(v.toString());
}

// A number the printout cannot do without: null and text that is not a number are errors.
double requiredNumber(const QVariant &value)
{
    if (value.isNull())
        throw ModuleError(ModuleError::InvalidUseOfNull, QStringLiteral("rtnmod08"), QStringLiteral("Invalid use of Null"));
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw ModuleError(ModuleError::TypeMismatch, QStringLiteral("rtnmod08"), QStringLiteral("Type mismatch"));
    return number;
}

} // namespace

QString orderClause(double savedOrder)
{
    if (savedOrder == 1)
        return QStringLiteral(" order by wdid, wdItemId");
    if (savedOrder == 2)
        return QStringLiteral(" order by v.itemdescription");
    return QString();
}

std::vector<PrintLine> bodyLines(Connection &con, qint32 shopId, TransactionId id, double savedOrder)
{
    const Recordset rs = con.query(
        QStringLiteral("select Min(u.UnitCode) UnitCode, ai.itemcode, wdItemId,Whno,Whdate,v.ItemDescription, "
                       " WhUserName, Whremarks, sum(WdAvailableQty) beforeverify, "
                       " sum(wdpurchasereturnQty) afterverify, case when sum(isnull(wdcostprice,0))=0 then "
                       " sum(isnull(itemrate,0)) else sum(isnull(wdcostprice,0)) end itemrate "
                       // An item without a unit keeps its line, printed with an empty unit.
                       " from LOsPurchaseReturnHeader, LOsPurchaseReturnDetail, aitem ai left join aUnit u on ai.UnitsId = u.UnitId, "
                       " vwitemdescriptionPrint v "
                       " where whid=? and ai.ItemId = wdItemId and whid=wdid and "
                       " ai.ItemId = v.ItemId and whShopId = wdShopId and whShopId=?"
                       " group by whno,wdid, wdItemId, Whdate,v.ItemDescription, ai.itemcode, "
                       " WhUserName,Whremarks ")
            + orderClause(savedOrder),
        {id.value(), shopId});
    std::vector<PrintLine> lines;
    lines.reserve(rs.recordCount());
    for (int r = 0; r < rs.recordCount(); ++r)
        lines.push_back({text(rs, r, "itemcode"), text(rs, r, "ItemDescription"), text(rs, r, "UnitCode"),
                         number(rs, r, "beforeverify"), number(rs, r, "afterverify"), number(rs, r, "itemrate")});
    return lines;
}

PrintHeader header(Connection &con, qint32 shopId, qint32 companyId, TransactionId id)
{
    PrintHeader h;
    const Recordset doc = con.query(QStringLiteral("select Whno,Whdate,Whremarks,WhUserName from vwshoppurchasereturn "
                                                   " where whid=? and whshopid=?"),
                                    {id.value(), shopId});
    // field() raises "no current record" for a return that is not there.
    h.number = doc.field(QStringLiteral("Whno")).toString();
    h.date = dateValue(doc.field(QStringLiteral("Whdate")));
    h.remarks = doc.field(QStringLiteral("Whremarks")).toString();
    h.userName = doc.field(QStringLiteral("WhUserName")).toString();

    const Recordset shop = con.query(QStringLiteral("select shopname, address, CityName, CountryName, telephoneno, faxno"
                                                    " from ashops s, acountrymaster co, acity  ci where s.countryid = co.countryid and "
                                                    " ci.cityid = s.cityid and s.shopid=?"),
                                     {shopId});
    if (shop.isEmpty())
        return h;
    h.shopFound = true;
    h.shopName = text(shop, 0, "shopname");
    h.shopAddress = text(shop, 0, "address");
    h.telephone = text(shop, 0, "telephoneno");
    h.fax = text(shop, 0, "faxno");

    // The company of the session: a database of several companies prints the right one.
    const auto company = newCommonDB(QStringLiteral("acompanymaster"));
    const QString ofCompany = QStringLiteral("CompanyID=") + sqlNumber(companyId);
    const auto field = [&](const char *column) {
        const QVariant v = company->fnReturnField(QLatin1String(column), ofCompany);
        return v.isNull() ? QString() : v.toString();
    };
    h.companyName = field("name");
    h.companyAddress[0] = field("Address1");
    h.companyAddress[1] = field("Address2");
    h.companyAddress[2] = field("Address3");
    return h;
}

double revisedCostPercent(qint32 shopId)
{
    const auto shops = newCommonDB(QStringLiteral("aShops"));
    return requiredNumber(
        shops->fnReturnField(QStringLiteral("RevisedCostPricePercent"), QStringLiteral("ShopId=") + sqlNumber(shopId)));
}

std::vector<FooterMessage> footerMessages(Connection &con, qint32 shopId)
{
    const Recordset rs = con.query(
        QStringLiteral("select * from ashopprintmessages where shopid = ? and transtype = 'POSPO' order by messageid"),
        {shopId});
    std::vector<FooterMessage> messages;
    for (int r = 0; r < rs.recordCount(); ++r)
        messages.push_back({text(rs, r, "message"), text(rs, r, "allignment")});
    return messages;
}

std::optional<QString> printingUser(Connection &con, qint32 userId, qint32 shopId)
{
    const Recordset rs =
        con.query(QStringLiteral("select Username from Lousers where userid = ? and shopid = ?"), {userId, shopId});
    if (rs.isEmpty())
        return std::nullopt;
    return text(rs, 0, "Username");
}

} // namespace printdata

} // namespace shop
