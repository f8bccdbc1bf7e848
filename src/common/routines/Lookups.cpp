#include "common/routines/Lookups.h"

#include "common/core/Conversions.h"
#include "common/host/ModuleCommonDB.h"
#include "common/db/SqlText.h"

namespace shop {

bool fnLocationArrangement(qint32 shopId)
{
    return toBool(newCommonDB(QStringLiteral("aShops"))
                      ->fnReturnField(QStringLiteral("LocationArrangement"), QStringLiteral("ShopId = ") + sqlNumber(shopId)));
}

qint16 fnDefaultShipmentId()
{
    return toInt16(newCommonDB(QStringLiteral("aShipment"))->fnReturnField(QStringLiteral("MIN(sShipmentId)")));
}

QString fnItemUnitCode(qint32 itemId)
{
    const QVariant code = newCommonDB(QStringLiteral("aItem i, aUnit u"))
                              ->fnReturnField(QStringLiteral("u.UnitCode"),
                                              QStringLiteral("i.UnitsId = u.UnitId AND i.ItemId = ") + sqlNumber(itemId));
    return code.toString();
}

} // namespace shop
