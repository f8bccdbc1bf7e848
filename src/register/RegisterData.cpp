#include "register/RegisterData.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Recordset.h>
#include "common/db/SqlText.h"

namespace shop::reg {

std::optional<QStringList> listedRow(Connection &con, const QString &listQuery, TransactionId id)
{
    QString sql = listQuery;
    const qsizetype orderBy = sql.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive);
    if (orderBy >= 0)
        sql = sql.left(orderBy);
    sql += sql.contains(QLatin1String("where"), Qt::CaseInsensitive) ? QStringLiteral(" and ") : QStringLiteral(" where ");
    const Recordset rs = con.query(sql + QStringLiteral("whID = ?"), {id.value()});
    if (rs.isEmpty())
        return std::nullopt;
    QStringList cells;
    for (int c = 0; c < rs.fieldCount(); ++c)
        cells << cellText(rs.value(0, c));
    return cells;
}

QDate fnPopulateDate(clsCommonDB &db, qint32 shopId, const QDate &processDate)
{
    db.strTableName = QStringLiteral("LOsSettings");
    const QVariant backDays = db.fnReturnField(QStringLiteral("sNoofBackDays"), QStringLiteral(" shopid=") + sqlNumber(shopId));
    // A shop without settings shows from the process date on.
    const QDate start = processDate.addDays(-(backDays.isNull() ? 0 : toInt16(backDays)));
    db.strTableName = QStringLiteral("vwshopCloseDate");
    const QVariant close = db.fnReturnField(QStringLiteral("closedate"), QStringLiteral(" shopid=") + sqlNumber(shopId));
    const QDate closeDate = dateValue(close);
    if (closeDate.isValid() && closeDate > start)
        return closeDate;
    return start;
}

QString listQuery(const QDate &fromDate, qint32 shopId, const QString &transType)
{
    QString sql = QStringLiteral("select whid, whno, whdate, whusername,")
        + QStringLiteral("case whcancelled  when 1 then 'Yes' when 0 then 'No' end, ")
        + QStringLiteral("case whposted  when 1 then 'Yes' when 0 then 'No' end, ")
        + QStringLiteral("case whtransfinished  when 1 then 'Yes' when 0 then 'No' end ") + QStringLiteral("from ")
        + ListTable + QStringLiteral(" where whdate >= '") + fromDate.toString(QStringLiteral("yyyyMMdd"))
        + QStringLiteral("'") + QStringLiteral(" and whshopid = ") + sqlNumber(shopId);
    if (transType == PurchaseReturnType)
        sql += QStringLiteral(" and whOtherDepId Is Null");
    return sql + QStringLiteral(" order by whid");
}

std::optional<QString> functionRights(Connection &con, qint32 userId, qint32 interfaceId)
{
    const Recordset rs = con.query(
        QStringLiteral("select functionrights from louserrights where userid = ? and interfaceid = ?"),
        {userId, interfaceId});
    if (rs.isEmpty())
        return std::nullopt;
    return rs.value(0, 0).toString().trimmed().toUpper();
}

bool fnUserRights(const QString &letter, const QString &rights)
{
    const QString wanted = letter.trimmed().toUpper();
    const QString held = rights.trimmed().toUpper();
    return held != QLatin1String("ADMIN") && !wanted.isEmpty() && held.contains(wanted);
}

bool mayUseCommand(const std::optional<QString> &rights, const QString &letter)
{
    return !rights || fnUserRights(letter, *rights);
}

PackageSettings readPackageSettings(clsCommonDB &db)
{
    PackageSettings settings;
    db.strTableName = QStringLiteral("aPackageSettings");
    settings.stockView = toBool(db.fnReturnField(QStringLiteral("TransactionsSummary")))
        ? QStringLiteral("vwInquiryShopStockSummary")
        : QStringLiteral("vwInquiryShopStock");
    db.strTableName = QStringLiteral("aPAckageSettings");
    settings.integerQuantity = toBool(db.fnReturnField(QStringLiteral("IntegerQuantity")));
    db.strTableName = QStringLiteral("apackagesettings");
    settings.alias = toBool(db.fnReturnField(QStringLiteral("alias")));
    if (settings.alias) {
        db.strTableName = QStringLiteral("aalias");
        settings.aliasText = db.fnReturnField(QStringLiteral("Alias"), QStringLiteral("aliasid =") + sqlNumber(1)).toString();
    }
    db.strTableName = QStringLiteral("aPackageSettings");
    const QVariant login = db.fnReturnField(QStringLiteral("CompanyLogin"));
    settings.companyLogin = login.isNull() ? 0 : toInt16(login);
    return settings;
}

} // namespace shop::reg
