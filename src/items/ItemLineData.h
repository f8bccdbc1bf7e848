#pragma once

#include "common/core/Decimal.h"
#include "common/core/Session.h"
#include "common/core/TransactionId.h"
#include "items/ItemIdentification.h"
#include "stock/StockBalances.h"

#include <optional>

namespace shop {

class Connection;

// What the item window reads to enter one line of a return, for one session: which
// item a code names and whether the shop has it, how much of it the clerk may give
// back, and the item's own facts the line records. `edited` is the stored return
// being changed (none for a new one): its own issues count as still in stock.
class ItemLineData {
public:
    ItemLineData(Connection &con, Session session, TransactionId edited);

    const Session &session() const { return m_session; }
    StockBalances &balances() { return m_balances; }
    // Whose balances, for the item.
    BalanceOwner owner(qint32 itemId) const;

    // The item a typed or scanned code names, by the shop's item-type rule, with its
    // facts and the shop's stock of it.
    std::optional<IdentifiedItem> identify(const QString &code) const;
    // The item of an id, the same way; an unknown one has no facts and no stock.
    IdentifiedItem item(qint32 itemId) const;
    // The lookup dialog on the shop's stock.
    ItemFetch fetch() const;

    // The shop's stock of the item, plus what the edited return took of it.
    Decimal available(const IdentifiedItem &item) const;
    // The item's rate as the line records it (text, as stored).
    QString costPrice(qint32 itemId) const;

private:
    Connection &m_con;
    Session m_session;
    TransactionId m_edited;
    StockBalances m_balances;
    // The shop's rules for naming items do not change while the window is open: read
    // once, not at every scan.
    ItemLookup m_lookup;
};

} // namespace shop
