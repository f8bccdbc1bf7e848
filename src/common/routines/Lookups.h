#pragma once

#include <QString>

namespace shop {

// Small facts about shops and items that several windows need.

// Whether the shop keeps its stock by storage location. The shop id is looked up
// whole, so that shops numbered past 32767 save their returns too.
bool fnLocationArrangement(qint32 shopId);
// The first shipment, which item lines default to.
qint16 fnDefaultShipmentId();
// The unit code of the item ("PCS", "KG", ...); "" when it has none.
QString fnItemUnitCode(qint32 itemId);

} // namespace shop
