#include "editor/EditorLookups.h"

#include "common/core/Conversions.h"
#include <rtnmod08/HostComponents.h>
#include "common/db/SqlText.h"

namespace shop {

QString shopApartmentCode(clsCommonDB &db, qint32 shopId)
{
    db.strTableName = QStringLiteral("ashops");
    return db.fnReturnField(QStringLiteral("substring(futurevarchar,1,1)"), QStringLiteral("ShopID=") + sqlNumber(shopId))
        .toString()
        .toUpper();
}

std::optional<QString> packageAlias(clsCommonDB &db)
{
    db.strTableName = QStringLiteral("apackagesettings");
    if (!toBool(db.fnReturnField(QStringLiteral("alias"))))
        return std::nullopt;
    db.strTableName = QStringLiteral("aalias");
    return db.fnReturnField(QStringLiteral("Alias"), QStringLiteral("aliasid =") + sqlNumber(1)).toString();
}

QString shopUserName(clsCommonDB &db, qint32 userId, qint32 shopId)
{
    db.strTableName = QStringLiteral("Lousers");
    return db
        .fnReturnField(QStringLiteral("username"), QStringLiteral(" userid=") + sqlNumber(userId)
                                                       + QStringLiteral(" and shopid = ") + sqlNumber(shopId))
        .toString();
}

QString anyShopUserName(clsCommonDB &db, qint32 userId)
{
    db.strTableName = QStringLiteral("lousers where userid =") + sqlNumber(userId);
    return db.fnReturnField(QStringLiteral("username")).toString();
}

} // namespace shop
