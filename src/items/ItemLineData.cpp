#include "items/ItemLineData.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/Recordset.h>

namespace shop {

ItemLineData::ItemLineData(Connection &con, Session session, TransactionId edited)
    : m_con(con), m_session(std::move(session)), m_edited(edited), m_balances(con),
      m_typeRule(itemTypeRule(con, m_session.shopId)), m_codesMayRepeat(itemCodesMayRepeat(con))
{
}

BalanceOwner ItemLineData::owner(qint32 itemId) const
{
    return BalanceOwner{m_session.shopId, itemId, m_edited, m_session.interfaceId ? m_session.interfaceId : 1901};
}

std::optional<IdentifiedItem> ItemLineData::identify(const QString &code) const
{
    return identifyItem(m_con, code, m_session.shopId, m_typeRule, m_codesMayRepeat);
}

qint32 ItemLineData::itemOfPackingBarcode(const QString &code) const { return shop::itemOfPackingBarcode(m_con, code); }

std::optional<QString> ItemLineData::inStock(qint32 itemId) const
{
    return m_balances.inStock(m_session.stockView, m_session.shopId, itemId);
}

ItemFetch ItemLineData::fetch() const { return itemFetch(m_con, m_session.shopId, m_typeRule); }

Decimal ItemLineData::available(qint32 itemId) const
{
    // The return being changed gives back what it took of the item, as its ledger
    // issues do for the locations, batches and serials.
    return m_balances.itemStock(m_session.stockView, m_session.shopId, itemId)
        + m_balances.returnedByEntry(m_session.shopId, m_edited, itemId);
}

ItemLineData::ItemFacts ItemLineData::facts(qint32 itemId) const
{
    const Recordset rs = m_con.query(
        QStringLiteral("select ExpiryNoOfDays, SerialNoActive, SerialNodupli, Itemcode from aItem where ItemId = ?"), {itemId});
    if (rs.recordCount() == 0)
        return {};
    const auto flag = [&](int column) { return !rs.value(0, column).isNull() && toBool(rs.value(0, column)); };
    const QVariant days = rs.value(0, 0);
    ItemFacts f;
    f.hasExpiry = !days.isNull() && val(days.toString()) > 0;
    f.hasSerialNo = flag(1);
    f.serialsMayRepeat = f.hasSerialNo && flag(2);
    f.code = cellText(rs.value(0, 3));
    return f;
}

QString ItemLineData::costPrice(qint32 itemId) const
{
    return cellText(m_con.scalar(QStringLiteral("select ItemRate from aItem where ItemId = ?"), {itemId}));
}

} // namespace shop
