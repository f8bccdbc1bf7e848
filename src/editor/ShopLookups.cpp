#include "editor/ShopLookups.h"

#include "common/Conversions.h"
#include "common/HostComponents.h"
#include "common/SqlText.h"

namespace shop {

bool fnLocationArrangement(const ConnectionPtr &con, qint32 shopId)
{
    const auto db = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
    db->adocon = con;
    db->strTableName = QStringLiteral("aShops");
    return toBool(db->fnReturnField(QStringLiteral("LocationArrangement"), QStringLiteral("ShopId = ") + sqlNumber(qint64{shopId})));
}

bool fnItemHasExpiry(Connection &con, qint32 itemId)
{
    const QVariant days =
        con.scalar(QStringLiteral("SELECT ExpiryNoOfDays FROM aItem") + QStringLiteral(" WHERE ItemId = ?"), {itemId});
    return !days.isNull() && val(days.toString()) > 0;
}

} // namespace shop
