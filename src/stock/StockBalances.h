#pragma once

#include "common/core/Decimal.h"
#include "common/core/TransactionId.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

namespace shop {

class Connection;

// Whose balances: the shop, the item, and the stored return being changed, whose
// own issues count as still in stock (none for a return never saved).
struct BalanceOwner {
    qint32 shopId = 0;
    qint32 itemId = 0;
    TransactionId excluded;
    qint32 interfaceId = 1901; // the ledgers' owner of the excluded return
};

struct LocationBalance {
    qint32 locationId = 0;
    QString locationName;
    Decimal quantity;
};

struct BatchBalance {
    QString batchNo; // empty for a batch that arrived without a number
    QDate expiryDate;
    Decimal quantity;
};

struct SerialBalance {
    QString serialNo;
    Decimal quantity;
};

// An item's balance lists read together; a list not asked for stays empty.
struct ItemBalances {
    std::optional<QList<LocationBalance>> locations;
    std::optional<QList<BatchBalance>> batches;
    std::optional<QList<SerialBalance>> serials;
};

// Which lists to read together.
struct BalanceLists {
    bool locations = false;
    bool batches = false;
    bool serials = false;
};

// One statement the balances run, with the values it takes for an owner: what a
// check of the database's plans reads.
struct BalanceStatement {
    QString name;
    QString statement;
    QVariantList values;
};

// The stock a shop still holds of an item, from its arrival and issue ledgers: what
// arrived, not cancelled, less what was issued, not cancelled, per location, per batch
// and expiry date, per serial number. Only positive balances come back. Each
// statement is prepared once on the connection and run again for every item.
class StockBalances {
public:
    explicit StockBalances(Connection &con) : m_con(con) {}

    // In ascending location id.
    QList<LocationBalance> locations(const BalanceOwner &owner) const;
    // In ascending batch number; a batch that arrived under two expiry dates comes twice.
    QList<BatchBalance> batches(const BalanceOwner &owner) const;
    // In ascending serial number.
    QList<SerialBalance> serials(const BalanceOwner &owner) const;
    // The lists asked for in one statement: each list's own statement, its rows
    // tagged, in its own order.
    ItemBalances lists(const BalanceOwner &owner, BalanceLists wanted) const;
    // One batch: its earliest expiry date that holds stock and that balance; none when
    // it holds no stock.
    std::optional<BatchBalance> batch(const BalanceOwner &owner, const QString &batchNo) const;
    std::optional<Decimal> serial(const BalanceOwner &owner, const QString &serialNo) const;

    // What a stored, not cancelled return took of the item: while it is changed that
    // quantity is the clerk's to give again.
    Decimal returnedByEntry(qint32 shopId, TransactionId entry, qint32 itemId) const;

    // Every balance statement (the lists, one batch, one serial), in the variant and
    // with the values the owner's balances use.
    static QList<BalanceStatement> statements(const BalanceOwner &owner, const QString &batchNo, const QString &serialNo);

private:
    Connection &m_con;
};

} // namespace shop
