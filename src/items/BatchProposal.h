#pragma once

#include "stock/StockBalances.h"

#include <QList>
#include <QStringList>

namespace shop {

// The expiry grid's rows that take a line's quantity from the batches that expire
// first (ties by batch number), each up to its balance: the oldest stock goes back
// first. A batch that arrived under two expiry dates counts once, under the earlier
// date it still holds stock of. Columns: number, batch number, expiry date as shown,
// quantity, (empty), quantity. When the batches hold less than the quantity the rows
// stop short and the rest is left to the clerk; a quantity of 0 gives no rows.
QList<QStringList> proposeBatches(QList<BatchBalance> balances, Decimal quantity);

// Whether goods of the expiry date are out of date on the process date.
bool isExpired(const QDate &expiry, const QDate &processDate);

} // namespace shop
