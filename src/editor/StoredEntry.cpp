#include "editor/StoredEntry.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include "common/routines/Lookups.h"
#include "common/host/ModuleCommonDB.h"
#include "common/db/SqlText.h"

namespace shop {

namespace {

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

// Where a ledger field goes in its allocation table. Every field but the expiry date
// goes back to the ledger on save exactly as it came out; the date is shown as the
// editor shows dates and stored again as a date.
struct Placed {
    int column;
    const char *field;
    bool date = false;
};

// Runs one of the entry's issue-ledger statements and numbers its rows from 1 in
// column 0, each field in its allocation column.
QList<QStringList> allocationRows(const QString &statement, std::initializer_list<Placed> fields, qint32 interfaceId,
                                  qint32 shopId, qint32 transId)
{
    const Recordset rs = moduleConnection().query(statement, {interfaceId, shopId, transId});
    QList<QStringList> rows;
    for (int r = 0; r < rs.recordCount(); ++r) {
        QStringList cells(AllocationColumnCount);
        cells[0] = QString::number(r + 1);
        for (const Placed &p : fields) {
            const QVariant value = rs.value(r, QString::fromLatin1(p.field));
            cells[p.column] = p.date ? cellText(value) : exactCellText(value);
        }
        rows << cells;
    }
    return rows;
}

} // namespace

StoredHeader readStoredHeader(qint32 shopId, qint32 transId)
{
    const Recordset rs = moduleConnection().query(
        QStringLiteral("Select * from LOsPurchaseReturnHeader where whshopid=?") + QStringLiteral(" and whid=?"),
        {shopId, transId});
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
    return h;
}

QList<QStringList> readStoredLines(const Session &session, qint32 transId, const StoredFlags &flags)
{
    const qint32 shopId = session.shopId;
    const Recordset rs = moduleConnection().query(
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
        {shopId, transId});

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

QList<QStringList> readLocationRows(qint32 interfaceId, qint32 shopId, qint32 transId)
{
    return allocationRows(QStringLiteral("SELECT Issue.*, Location.lLocationName")
                              + QStringLiteral(" FROM losLocationIssueDetails Issue, losLocation Location")
                              + QStringLiteral(" WHERE Issue.lidLocationId = Location.lLocationId")
                              + QStringLiteral(" AND Issue.lidShopId = Location.lShopId")
                              + QStringLiteral(" AND lidInterfaceId = ?") + QStringLiteral(" AND lidShopId = ?")
                              + QStringLiteral(" AND lidTransId = ?") + QStringLiteral(" ORDER BY lidDetailId"),
                          {{locationcol::LocationName, "lLocationName"},
                           {locationcol::Quantity, "liditemqty"},
                           {locationcol::LocationId, "lidlocationid"},
                           {locationcol::PackingTypeId, "lidpackingtypeid"},
                           {locationcol::PackingQty, "lidpakingqty"},
                           {locationcol::ItemId, "liditemid"}},
                          interfaceId, shopId, transId);
}

QList<QStringList> readExpiryRows(qint32 interfaceId, qint32 shopId, qint32 transId)
{
    return allocationRows(QStringLiteral("SELECT * ") + QStringLiteral(" FROM losExpiryIssueDetails a where")
                              + QStringLiteral(" eidInterfaceId = ?") + QStringLiteral(" AND eidShopId = ?")
                              + QStringLiteral(" AND eidTransactionId = ?") + QStringLiteral(" ORDER BY eidDetailId"),
                          {{expirycol::BatchNo, "eidBatchNo"},
                           {expirycol::ExpiryDate, "eidexpirydate", true},
                           {expirycol::Quantity, "eiditemqty"},
                           {expirycol::PackingTypeId, "eidpackingtypeid"},
                           {expirycol::PackingQty, "eidpackingqty"},
                           {expirycol::ItemId, "eiditemid"}},
                          interfaceId, shopId, transId);
}

QList<QStringList> readSerialRows(qint32 interfaceId, qint32 shopId, qint32 transId)
{
    return allocationRows(QStringLiteral("SELECT * ") + QStringLiteral(" FROM losSerialIssueDetails a where")
                              + QStringLiteral(" sidInterfaceId = ?") + QStringLiteral(" AND sidShopId = ?")
                              + QStringLiteral(" AND sidTransactionId = ?") + QStringLiteral(" ORDER BY sidDetailId"),
                          {{serialcol::ItemId, "siditemid"},
                           {serialcol::SerialNo, "sidSerialNo"},
                           {serialcol::Quantity, "siditemqty"},
                           {serialcol::PackingTypeId, "sidpackingtypeid"},
                           {serialcol::PackingQty, "sidpackingqty"}},
                          interfaceId, shopId, transId);
}

} // namespace shop
