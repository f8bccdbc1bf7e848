#include "items/ItemLineData.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Connection.h>

namespace shop {

ItemLineData::ItemLineData(Connection &con, Session session, TransactionId edited)
    : m_con(con), m_session(std::move(session)), m_edited(edited), m_balances(con)
{
}

BalanceOwner ItemLineData::owner(qint32 itemId) const
{
    return BalanceOwner{m_session.shopId, itemId, m_edited, m_session.interfaceId ? m_session.interfaceId : 1901};
}

std::optional<IdentifiedItem> ItemLineData::identify(const QString &code) const
{
    return identifyItem(m_con, code, m_session.shopId, itemTypeRule(m_con, m_session.shopId), itemCodesMayRepeat(m_con));
}

qint32 ItemLineData::itemOfPackingBarcode(const QString &code) const { return shop::itemOfPackingBarcode(m_con, code); }

std::optional<QString> ItemLineData::inStock(qint32 itemId) const
{
    return m_balances.inStock(m_session.stockView, m_session.shopId, itemId);
}

ItemFetch ItemLineData::fetch() const { return itemFetch(m_con, m_session.shopId, itemTypeRule(m_con, m_session.shopId)); }

Decimal ItemLineData::available(qint32 itemId) const
{
    // The return being changed gives back what it took of the item, as its ledger
    // issues do for the locations, batches and serials.
    return m_balances.itemStock(m_session.stockView, m_session.shopId, itemId)
        + m_balances.returnedByEntry(m_session.shopId, m_edited, itemId);
}

bool ItemLineData::hasSerialNo(qint32 itemId) const
{
    const QVariant active = m_con.scalar(QStringLiteral("select SerialNoActive from aitem where ItemId = ?"), {itemId});
    return !active.isNull() && toBool(active);
}

QString ItemLineData::costPrice(qint32 itemId) const
{
    return cellText(m_con.scalar(QStringLiteral("select ItemRate from aItem where ItemId = ?"), {itemId}));
}

} // namespace shop
