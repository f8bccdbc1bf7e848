#include "editor/StoredEntry.h"

#include "common/core/Conversions.h"
#include "common/routines/Lookups.h"
#include "common/host/ModuleCommonDB.h"
#include "common/db/SqlText.h"
#include "stock/IssueLedgers.h"

namespace shop {

namespace {

const QStringList VersionColumns{QStringLiteral("updatetime"), QStringLiteral("whcancelled"), QStringLiteral("whposted"),
                                 QStringLiteral("Whtransfinished")};

QString versionOf(const QVariantList &values)
{
    QStringList parts;
    for (const QVariant &v : values)
        parts << cellText(v);
    return parts.join(QLatin1Char('|'));
}

QString text(const Recordset &rs, int row, const char *field) { return cellText(rs.value(row, QString::fromLatin1(field))); }

// Stock of the item in the shop now. A confirmed entry shows the figure as the view
// gives it; the others show it with three decimals.
QString availableQuantity(const QString &stockView, qint32 shopId, qint32 itemId, const StoredFlags &flags)
{
    const auto db = newCommonDB(stockView);
    if (flags.confirmed && !flags.cancelled)
        return cellText(db->fnReturnField(QStringLiteral("sum(stock)"), QStringLiteral("shopid=") + sqlNumber(shopId)
                                                                            + QStringLiteral(" and itemid= ") + sqlNumber(itemId)));
    return formatValue(db->fnReturnField(QStringLiteral("sum(stock)"), QStringLiteral(" itemid = ") + sqlNumber(itemId)
                                                                           + QStringLiteral(" and shopid = ") + sqlNumber(shopId)),
                       fmt::Stock);
}

} // namespace

StoredHeader readStoredHeader(Connection &con, const Session &session, TransactionId id)
{
    const Recordset rs = con.query(
        QStringLiteral("Select * from LOsPurchaseReturnHeader where whshopid=?") + QStringLiteral(" and whid=?"),
        {session.shopId, id.value()});
    StoredHeader h;
    h.number = cellText(rs.field(QStringLiteral("WhNo")));
    h.dateText = displayDate(dateValue(rs.field(QStringLiteral("WhDate"))));
    h.userName = cellText(rs.field(QStringLiteral("WhUserName")));
    h.remarks = cellText(rs.field(QStringLiteral("WhRemarks")));
    h.confirmed = toBool(rs.field(QStringLiteral("Whtransfinished")));
    h.posted = toBool(rs.field(QStringLiteral("whposted")));
    h.approvedBy = cellText(rs.field(QStringLiteral("whauthorisedby")));
    h.receivedBy = cellText(rs.field(QStringLiteral("whreceivedby")));
    h.otherDepartmentId = rs.field(QStringLiteral("whOtherDepId"));
    h.apartmentId = rs.field(QStringLiteral("whapartmentid"));
    QVariantList version;
    for (const QString &column : VersionColumns)
        version << rs.field(column);
    h.version = versionOf(version);
    return h;
}

QString storedReturnVersion(Connection &con, const Session &session, TransactionId id)
{
    const Recordset rs = con.query(QStringLiteral("select ") + VersionColumns.join(QStringLiteral(", "))
                                       + QStringLiteral(" from LOsPurchaseReturnHeader where whshopid = ? and whid = ?"),
                                   {session.shopId, id.value()});
    return rs.recordCount() == 0 ? QString() : versionOf(rs.rows().front());
}

QList<QStringList> readStoredLines(Connection &con, const Session &session, TransactionId id, const StoredFlags &flags)
{
    const qint32 shopId = session.shopId;
    const Recordset rs = con.query(
        QStringLiteral("select wditemid,")
            + QStringLiteral("cast(cast(sum(wdavailableQty) as numeric(18,3))as varchar (20)) as wdavailableqty,")
            + QStringLiteral("cast(cast(sum(wdpurchasereturnQty) as numeric(18,3))as varchar (20)) as wdpurchasereturnQty,")
            + QStringLiteral(" Min(u.UnitCode) UnitCode,")
            // What the printout shows as the cost of the item's rows, so that a re-save prints the same.
            + QStringLiteral(" sum(isnull(wdcostprice,0)) storedcost")
            // An item without a unit keeps its line (unit empty), so a re-save stores it again.
            + QStringLiteral(" from LOsPurchaseReturnDetail inner join aItem i on wdItemId = i.ItemId")
            + QStringLiteral(" left join aUnit u on i.UnitsId = u.UnitId")
            + QStringLiteral(" where wdshopid = ?") + QStringLiteral(" ") + QStringLiteral(" and wdid = ?")
            + QStringLiteral(" group by wditemid"),
        {shopId, id.value()});

    const QString shipmentId = QString::number(fnDefaultShipmentId());
    const auto items = newCommonDB();
    QList<QStringList> lines;
    for (int r = 0; r < rs.recordCount(); ++r) {
        const qint32 itemId = toInt32(rs.value(r, QStringLiteral("wditemid")));
        const QString itemCondition = QStringLiteral("ItemId=") + sqlNumber(itemId);
        items->strTableName = QStringLiteral("vwItemDescription");
        const QString description = cellText(items->fnReturnField(QStringLiteral("ItemDescription"), itemCondition));
        items->strTableName = QStringLiteral("aItem");
        const QString rate =
            cellText(items->fnReturnField(QStringLiteral("ItemRate"), QStringLiteral("ItemId = ") + sqlNumber(itemId)));
        lines << QStringList{QString::number(r + 1),
                             QStringLiteral("1"),
                             QStringLiteral(" "), // the code is not kept with the entry
                             description,
                             availableQuantity(session.stockView, shopId, itemId, flags),
                             text(rs, r, "wdpurchasereturnQty"),
                             shipmentId,
                             QString::number(itemId),
                             rate,
                             text(rs, r, "UnitCode"),
                             text(rs, r, "wdavailableqty"),
                             text(rs, r, "storedcost")};
    }
    return lines;
}

QList<QStringList> readStoredAllocations(Connection &con, const Session &session, TransactionId id, IssueLedger ledger)
{
    return readIssueLedger(con, ledger, {session.interfaceId, session.shopId, id.value()});
}

} // namespace shop
