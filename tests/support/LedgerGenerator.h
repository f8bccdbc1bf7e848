#pragma once

#include <rtnmod08/Connection.h>

#include <QDate>

namespace shop::bench {

// Fills a demo database with the ledgers of a busy suite: `rowsPerLedger` rows in each
// of the three arrival and three issue ledgers, spread over the demo's three shops,
// 2,000 generated items (ids from FirstItemId, each with a packing barcode and a
// shortcut), 20 locations a shop, 50 batches and serial numbers, about ten ledger rows
// per shop, item and location at a million rows; and `returns` purchase returns of
// shop 1 inside the register's date window. The rows are computed on the database
// server from their row number and the seed, so the same arguments always give the
// same data, fast on both backends.
struct LedgerSize {
    int rowsPerLedger = 10000;
    int returns = 1000;
    quint32 seed = 1;
};

inline constexpr int FirstItemId = 1001;
inline constexpr int GeneratedItems = 2000;
inline constexpr int LocationsPerShop = 20;

void generateLedgers(Connection &con, const LedgerSize &size, const QDate &today);

// The packing barcode of a generated item (FirstItemId + n).
QString generatedBarcode(int itemId);

} // namespace shop::bench
