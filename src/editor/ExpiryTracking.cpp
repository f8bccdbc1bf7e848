#include "editor/ExpiryTracking.h"

#include "common/core/Conversions.h"
#include "common/host/ModuleCommonDB.h"

namespace shop {

bool fnItemHasExpiry(qint32 itemId)
{
    const QVariant days = moduleConnection().scalar(
        QStringLiteral("SELECT ExpiryNoOfDays FROM aItem") + QStringLiteral(" WHERE ItemId = ?"), {itemId});
    return !days.isNull() && val(days.toString()) > 0;
}

} // namespace shop
