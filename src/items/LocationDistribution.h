#pragma once

#include "stock/StockBalances.h"

#include <QList>
#include <QStringList>

namespace shop {

// The location grid's rows that take a line's quantity from the locations in the
// order given (ascending location id): each location's whole balance while it fits,
// then the rest from the next one. Columns: number, location name, quantity, location
// id, (empty), quantity as plain text, item id, the location's balance ("#.000").
// When the locations hold less than the quantity the rows stop short and the rest is
// left to the clerk. A quantity of 0 gives one row of the first location with 0.000,
// ready to be changed; a quantity taken up exactly gives no further row of 0.
QList<QStringList> distributeOverLocations(const QList<LocationBalance> &balances, Decimal quantity,
                                           const QString &itemId);

} // namespace shop
