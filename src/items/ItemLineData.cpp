#include "items/ItemLineData.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/Recordset.h>

namespace shop {

ItemLineData::ItemLineData(Connection &con, Session session, TransactionId edited)
    : m_con(con), m_session(std::move(session)), m_edited(edited), m_balances(con),
      m_lookup{m_session.shopId, itemTypeRule(con, m_session.shopId), itemCodesMayRepeat(con), m_session.stockView}
{
}

BalanceOwner ItemLineData::owner(qint32 itemId) const
{
    return BalanceOwner{m_session.shopId, itemId, m_edited, m_session.interfaceId ? m_session.interfaceId : 1901};
}

std::optional<IdentifiedItem> ItemLineData::identify(const QString &code) const { return identifyItem(m_con, code, m_lookup); }

IdentifiedItem ItemLineData::item(qint32 itemId) const
{
    if (auto found = itemById(m_con, itemId, m_lookup))
        return *found;
    IdentifiedItem unknown;
    unknown.itemId = itemId;
    return unknown;
}

ItemFetch ItemLineData::fetch() const { return itemFetch(m_con, m_session.shopId, m_lookup.rule); }

Decimal ItemLineData::available(const IdentifiedItem &item) const
{
    // The return being changed gives back what it took of the item, as its ledger
    // issues do for the locations, batches and serials.
    return item.stock + m_balances.returnedByEntry(m_session.shopId, m_edited, item.itemId);
}

QString ItemLineData::costPrice(qint32 itemId) const
{
    return cellText(m_con.scalar(QStringLiteral("select ItemRate from aItem where ItemId = ?"), {itemId}));
}

} // namespace shop
