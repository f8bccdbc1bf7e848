#include <rtnmod08/DemoData.h>

#include "common/db/Transaction.h"

#include <rtnmod08/ModuleError.h>

#include <QStringList>
#include <initializer_list>

namespace shop::demo {

namespace {

const QVariant kNull;

// Inserts rows into a table; `columns` is the column list as written in an insert.
void insertRows(Connection &con, const char *table, const char *columns, std::initializer_list<QVariantList> rows)
{
    const int count = static_cast<int>(QString::fromLatin1(columns).count(QLatin1Char(',')) + 1);
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(QLatin1String(table), QLatin1String(columns), marks.join(QLatin1Char(',')));
    for (const QVariantList &row : rows)
        con.execute(sql, row);
}

const char *const kDemoTables[] = {
    "losSerialIssueDetails", "losExpiryIssueDetails", "losLocationIssueDetails", "LOsPurchaseReturnDetail",
    "LOsPurchaseReturnHeader", "losSerialArrivalDetails", "losExpiryArrivalDetails", "loslocationArrivalDetails",
    "mosShopStock", "losLocation", "aShipment", "ashopitemDetail", "aItemPackingDetail", "aItem", "aUnit",
    "atablecolumns", "atables", "alistviewdetails", "alistviewheader", "ashopprintmessages", "losdayclose",
    "LOsSettings", "louserrights", "Lousers", "aPrefix", "aFinancialYear", "losapartmentdetail", "ashops", "acity",
    "acountrymaster", "aalias", "aPackageSettings", "adepcontrolaccounts", "acustomermaster", "avendormaster",
    "aaccountmaster", "adepartmentmaster", "ExchangeRateDetail", "aSettings", "acompanymaster",
    // The module's own records about the demo's returns and users go with them.
    "shop_user_audit", "shop_error_log", "shop_grid_settings",
};

const char *const kDemoCompany = "Harbour Traders Ltd";

void companyAndShops(Connection &con)
{
    insertRows(con, "acompanymaster", "CompanyID, CurrencyID, name, Address1, Address2, Address3",
               {{1, 1, kDemoCompany, "14 Quay Street", "Port Ellen", "Isle of Islay"}});
    insertRows(con, "aSettings", "CompanyID, CashGroupID", {{1, 1}});
    insertRows(con, "ExchangeRateDetail", "CompanyID, CurrencyID, SellingRate", {{1, 1, 1.0}, {1, 4, 3.75}});
    insertRows(con, "adepartmentmaster", "DepartmentID, DepartmentName, CompanyID, depcurrencyid",
               {{10, "Retail", 1, 1}, {11, "Wholesale", 1, 4}, {12, "Trade", 1, 1}});
    insertRows(con, "aaccountmaster", "accountID, CompanyID, currencyid, accountname",
               {{100, 1, 1, "Inventory"}, {101, 1, 1, "Stock transfer control"}, {102, 1, 4, "Stock write-off"},
                {103, 1, 1, "Purchase returns expense"}, {104, 1, 1, "Retail to wholesale control"}});
    insertRows(con, "avendormaster", "vendorID, CompanyID, currencyid, vendorname",
               {{500, 1, 4, "Northwind Dairies"}, {501, 1, 1, "Coastal Electronics"}});
    insertRows(con, "acustomermaster", "customerID, CompanyID, currencyid, customername", {{600, 1, 1, "Walk-in"}});
    insertRows(con, "adepcontrolaccounts", "maindepid, otherdepid, CompanyID, controlaccid", {{10, 11, 1, 104}});
    insertRows(con, "aPackageSettings",
               "companyid, InventoryID, stocktransfercontrolacc, alias, CompanyLogin, TransactionsSummary, "
               "IntegerQuantity, AllowItemCodeDuplication",
               {{1, 100, 101, 0, 0, 0, 0, 0}});
    insertRows(con, "aalias", "aliasid, Alias", {{1, "Vendor"}});
    insertRows(con, "acountrymaster", "countryid, CountryName", {{1, "Scotland"}});
    insertRows(con, "acity", "cityid, CityName", {{1, "Port Ellen"}, {2, "Bowmore"}});
    insertRows(con, "ashops",
               "ShopID, CompanyID, DepartmentID, futurevarchar, stockWriteoffAccID, ExpenseAccount, "
               "LocationArrangement, RevisedCostPricePercent, shopname, address, countryid, cityid, telephoneno, faxno",
               {{1, 1, 10, "N", 102, 103, 1, 10.0, "Harbour Market", "14 Quay Street", 1, 1, "0100 200 301", "0100 200 309"},
                {2, 1, 11, "L", kNull, 103, 0, 0.0, "Bowmore Corner", "2 Main Street", 1, 2, "0100 300 400", kNull},
                {3, 1, 12, "B", 102, 103, 0, 5.0, "Trade Counter", "Unit 7, Harbour Yard", 1, 1, "0100 200 500", kNull}});
    insertRows(con, "losapartmentdetail", "apdapartmentid, apdapartmentNo, apdshopid, apdcompanyid",
               {{1, "A-101", 2, 1}, {2, "A-102", 2, 1}});
    insertRows(con, "aFinancialYear", "FinancialId, CurFinancialYear, yearname", {{1, 0, "2025-26"}, {2, 1, "2026-27"}});
    insertRows(con, "aPrefix", "Prefix, InterfaceID, FinancialId, shopid",
               {{"OLD", 1901, 1, 1}, {"PR", 1901, 2, 1}, {"BC", 1901, 2, 2}, {"GR", 1001, 2, 1}});
}

void usersAndSettings(Connection &con, const QDate &today)
{
    insertRows(con, "Lousers", "userid, shopid, username",
               {{1, 1, "clerk"}, {1, 2, "clerk"}, {1, 3, "clerk"}, {2, 1, "nina"}, {3, 1, "admin"}, {4, 1, "omar"}});
    insertRows(con, "louserrights", "userid, interfaceid, functionrights",
               {{1, 1901, "NEDPB"}, {2, 1901, "NEP"}, {3, 1901, "ADMIN"}, {4, 1001, "NEDP"}});
    insertRows(con, "LOsSettings", "shopid, sNoofBackDays, defaultfetch", {{1, 30, 1}, {2, 30, 1}, {3, 60, 2}});
    // Shop 1 closed its books before the back-days window, shop 2 within it.
    insertRows(con, "losdayclose", "shopid, closedate",
               {{1, today.addDays(-75)}, {1, today.addDays(-45)}, {2, today.addDays(-5)}});
    insertRows(con, "ashopprintmessages", "shopid, transtype, messageid, allignment, message",
               {{1, "POSPO", 1, "M", "Thank you for your business"},
                {1, "POSPO", 2, "L", "Goods returned are subject to inspection"},
                {1, "POSPO", 3, "R", "E & O E"},
                {1, "GRN", 1, "M", "Goods received in good order"},
                {2, "POSPO", 1, "M", "Bowmore Corner - returns desk"}});
    insertRows(con, "alistviewheader", "lvwid, lvwtransname, lvwname, lvwmodulename",
               {{1, "frmStockDetails", "lvwStock", "shopwriteoff"}});
    insertRows(con, "alistviewdetails", "lvwdid, lvwcolid, lvwdcolwidth, lvwdcolalign",
               {{1, 1, 600, 0}, {1, 2, 0, 0}, {1, 3, 1400, 0}, {1, 4, 3600, 0}, {1, 5, 1400, 1},
                {1, 6, 1400, 1}, {1, 7, 0, 0}, {1, 8, 0, 0}, {1, 9, 1200, 1}, {1, 10, 800, 0}});
    insertRows(con, "atables", "tableid, tablename", {{1, "LospurchasereturnHeader"}});
    insertRows(con, "atablecolumns", "tableid, columnorder, columnheader, columnname",
               {{1, 1, "Id", "whid"}, {1, 2, "Return No", "whno"}, {1, 3, "Return date", "whdate"},
                {1, 4, "Done By", "whusername"}, {1, 5, "Cancelled", "whcancelled"}, {1, 6, "Posted", "whposted"},
                {1, 7, "Confirmed", "whtransfinished"}});
}

void items(Connection &con)
{
    insertRows(con, "aUnit", "UnitId, UnitCode", {{1, "PCS"}, {2, "KG"}, {3, "BAG"}, {4, "LTR"}});
    insertRows(con, "aItem",
               "ItemId, itemcode, description, itemtype, Active, brand, modelno, part_code, UnitsId, ExpiryNoOfDays, "
               "SerialNoActive, SerialNodupli, ItemRate",
               {{1, "MLK-1L", "Fresh milk 1 L", "A", 1, "Glen Dairy", kNull, kNull, 4, 7, 0, 0, 0.95},
                {2, "YOG-500", "Natural yoghurt 500 g", "A", 1, "Glen Dairy", kNull, kNull, 1, 21, 0, 0, 1.40},
                {3, "TV-32", "LED television 32 in", "A", 1, "Visio", "V32", "P-3201", 1, kNull, 1, 0, 189.0},
                {4, "PH-X1", "Mobile phone X1", "A", 1, "Tellu", "X1", "P-X1", 1, kNull, 1, 1, 120.0},
                {5, "RICE-5", "Long grain rice 5 kg", "A", 1, "Paddy Fields", kNull, kNull, 3, kNull, 0, 0, 6.50},
                {6, "SUG-1", "White sugar 1 kg", "A", 1, "Cane Co", kNull, kNull, 2, kNull, 0, 0, 1.10},
                {7, "CEM-25", "Cement 25 kg", "B", 1, "Stonebridge", kNull, "C-25", 3, kNull, 0, 0, 7.80},
                {8, "ADH-5", "Tile adhesive 5 kg", "B", 1, "Stonebridge", kNull, "A-5", 3, 180, 0, 0, 12.40},
                {9, "OIL-1", "Lamp oil 1 L (discontinued)", "A", 0, "Beacon", kNull, kNull, 4, kNull, 0, 0, 3.20},
                {10, "TEA-100", "Breakfast tea 100 bags 'Highland'", "A", 1, "O'Neill's", kNull, kNull, 1, kNull, 0, 0, 2.75}});
    insertRows(con, "aItemPackingDetail", "itemid, packingtypeid, packingbarcode, Active",
               {{1, 1, "5012345000011", 1}, {3, 1, "5012345000035", 1}, {5, 1, "5012345000059", 1},
                {5, 2, "5012345000066", 1}, {7, 1, "5012345000073", 1}, {9, 1, "5012345000097", 0},
                {10, 1, "5012345000103", 1}});
    insertRows(con, "ashopitemDetail", "itemid, shopid, shortcutno",
               {{1, 1, "11"}, {5, 1, "15"}, {10, 1, "20"}, {1, 2, "11"}, {7, 3, "71"}});
    insertRows(con, "aShipment", "sShipmentId, shipmentname", {{1, "Opening stock"}, {2, "Autumn delivery"}});
    insertRows(con, "losLocation", "lLocationId, lShopId, lLocationName",
               {{1, 1, "Front shelf"}, {2, 1, "Back store"}, {3, 1, "Cold room"}, {1, 2, "Old shelf"}, {1, 3, "Yard"}});
}

void arrivals(Connection &con, const QDate &today)
{
    // Interface 1001 is the goods receipt of the suite.
    insertRows(con, "loslocationArrivalDetails",
               "ladInterfaceId, ladTransId, ladLocationId, ladShopId, ladItemId, ladItemQty, ladCancel",
               {{1001, 1, 3, 1, 1, "40", 0}, {1001, 1, 3, 1, 2, "30", 0}, {1001, 1, 1, 1, 3, "5", 0},
                {1001, 1, 2, 1, 3, "3", 0}, {1001, 1, 1, 1, 4, "10", 0}, {1001, 1, 1, 1, 5, "20", 0},
                {1001, 1, 2, 1, 5, "60", 0}, {1001, 1, 1, 1, 6, "25", 0}, {1001, 1, 1, 1, 10, "12", 0},
                {1001, 2, 2, 1, 5, "100", 1}, {1001, 1, 1, 3, 7, "100", 0}, {1001, 1, 1, 3, 8, "50", 0}});
    insertRows(con, "losExpiryArrivalDetails",
               "eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, eadShopId, eadItemId, eadItemQty, eadCancel",
               {{1001, 1, today.addDays(5), "B1001", 1, 1, "25", 0}, {1001, 1, today.addDays(9), "B1002", 1, 1, "15", 0},
                {1001, 1, today.addDays(20), "Y2001", 1, 2, "30", 0}, {1001, 1, today.addDays(4), "B2001", 2, 1, "20", 0},
                {1001, 1, today.addDays(150), "AD-01", 3, 8, "50", 0}});
    QVariantList serials;
    for (int n = 1; n <= 8; ++n)
        insertRows(con, "losSerialArrivalDetails",
                   "sadInterfaceId, sadTransId, sadSerialNo, sadShopId, sadItemId, sadItemQty, sadCancel",
                   {{1001, 1, QStringLiteral("SN-TV-%1").arg(n, 4, 10, QLatin1Char('0')), 1, 3, "1", 0},
                    {1001, 1, QStringLiteral("IMEI-44%1").arg(n, 2, 10, QLatin1Char('0')), 1, 4, "1", 0}});
    // The phone allows duplicate serials: the same number arrived twice.
    insertRows(con, "losSerialArrivalDetails",
               "sadInterfaceId, sadTransId, sadSerialNo, sadShopId, sadItemId, sadItemQty, sadCancel",
               {{1001, 1, "IMEI-DUP", 1, 4, "1", 0}, {1001, 2, "IMEI-DUP", 1, 4, "1", 0},
                {1001, 1, "SN-TV-0101", 2, 3, "1", 0}, {1001, 1, "SN-TV-0102", 2, 3, "1", 0}});
    insertRows(con, "mosShopStock", "itemid, shopid, stock",
               {{1, 1, "36"}, {2, 1, "28"}, {3, 1, "7"}, {4, 1, "10"}, {5, 1, "75"}, {6, 1, "25"}, {10, 1, "11"},
                {1, 2, "19"}, {3, 2, "1"}, {5, 2, "40"}, {6, 2, "10"}, {5, 3, "10"}, {7, 3, "100"}, {8, 3, "50"}});
}

struct Header {
    int shop;
    int id;
    const char *number;
    int daysAgo;
    const char *user;
    const char *remarks;
    int cancelled;
    const char *cancelRemarks;
    int posted;
    int confirmed;
    QVariant otherDepartment;
    const char *type;
};

void purchaseReturns(Connection &con, const QDate &today)
{
    const Header headers[] = {
        {1, 1, "PR1", 3, "clerk", "Damaged packaging", 0, nullptr, 0, 0, kNull, "P"},
        {1, 2, "PR2", 6, "nina", "Wrong delivery", 1, "nina:entered twice", 0, 0, kNull, "P"},
        {1, 3, "PR3", 8, "clerk", "Short dated stock", 0, nullptr, 1, 0, kNull, "P"},
        {1, 4, "PR4", 2, "clerk", "Faulty unit returned to supplier", 0, nullptr, 0, 1, kNull, "P"},
        {1, 5, "PR5", 12, "nina", "Yoghurt recall", 0, nullptr, 0, 0, kNull, "P"},
        {1, 6, "PR6", 1, "clerk", "Sent to wholesale", 0, nullptr, 0, 0, 11, "I"},
        {1, 7, "PRX5", 20, "clerk", "Old numbering", 1, "clerk:typing error", 0, 0, kNull, "P"},
        {2, 1, "BC1", 2, "clerk", "Leaking cartons", 0, nullptr, 0, 0, kNull, "P"},
        {3, 1, "1", 4, "clerk", "Split bags", 0, nullptr, 0, 0, kNull, "P"},
    };
    for (const Header &h : headers) {
        insertRows(con, "LOsPurchaseReturnHeader",
                   "whShopID, WhID, WhNo, WhDate, WhUserName, WhRemarks, whcancelled, whCancelledRemarks, whposted, "
                   "Whtransfinished, whdepartmentid, whOtherDepId, whtype, whexpenseaccid, whconexrate, whdepexrate, "
                   "whexchangerates",
                   {{h.shop, h.id, h.number, today.addDays(-h.daysAgo), h.user, h.remarks, h.cancelled,
                     h.cancelRemarks ? QVariant(QString::fromUtf8(h.cancelRemarks)) : kNull, h.posted, h.confirmed,
                     h.shop == 1 ? 10 : h.shop == 2 ? 11 : 12, h.otherDepartment, h.type, 103, 1.0, 1.0,
                     "1:4:-1:3.75:"}});
    }
    insertRows(con, "LOsPurchaseReturnDetail",
               "wdshopid, WdID, WdItemID, WdAvailableQty, WdPurchaseReturnQty, wdshipmentid, wdcostprice",
               {{1, 1, 5, "80", "2", 1, 6.5}, {1, 1, 5, "80", "3", 1, 0.0}, {1, 1, 1, "40", "4", 1, 0.95},
                {1, 2, 6, "25", "2", 1, 1.10}, {1, 3, 10, "12", "1", 1, 0.0}, {1, 4, 3, "8", "1", 1, 189.0},
                {1, 5, 2, "30", "2", 1, 1.40}, {1, 6, 6, "25", "1", 1, 1.10}, {1, 7, 6, "25", "1", 1, 1.10},
                {2, 1, 1, "20", "1", 1, 0.95}, {2, 1, 3, "2", "1", 1, 189.0}, {3, 1, 7, "100", "2.5", 1, 7.80}});
    insertRows(con, "losLocationIssueDetails",
               "lidInterfaceId, lidShopId, lidTransId, lidDetailId, lidLocationId, lidItemId, lidItemQty, "
               "lidPackingTypeId, lidPakingQty, lidCancel",
               {{1901, 1, 1, 1, 1, 5, "5", kNull, "0", 0}, {1901, 1, 1, 2, 3, 1, "4", kNull, "0", 0},
                {1901, 1, 2, 1, 1, 6, "2", kNull, "0", 1}, {1901, 1, 3, 1, 1, 10, "1", kNull, "0", 0},
                {1901, 1, 4, 1, 1, 3, "1", kNull, "0", 0}, {1901, 1, 5, 1, 3, 2, "2", kNull, "0", 0},
                // A leftover row of shop 2 from before it stopped keeping stock by location.
                {1901, 2, 1, 1, 1, 1, "1", kNull, "0", 0},
                // Another module's issue with the same transaction id in shop 1.
                {1801, 1, 1, 1, 1, 5, "7", kNull, "0", 0}});
    insertRows(con, "losExpiryIssueDetails",
               "eidInterfaceId, eidShopId, eidTransactionId, eidDetailId, eidExpiryDate, eidBatchNo, eidItemId, "
               "eidItemQty, eidPackingTypeId, eidPackingQty, eidCancel",
               {{1901, 1, 1, 1, today.addDays(5), "B1001", 1, "4", kNull, "0", 0},
                {1901, 1, 5, 1, today.addDays(20), "Y2001", 2, "2", kNull, "0", 0},
                {1901, 2, 1, 1, today.addDays(4), "B2001", 1, "1", kNull, "0", 0}});
    insertRows(con, "losSerialIssueDetails",
               "sidInterfaceId, sidShopId, sidTransactionId, sidDetailId, sidSerialNo, sidItemId, sidItemQty, "
               "sidPackingTypeId, sidPackingQty, sidCancel, sidAdjustment, sidFreeQty",
               {{1901, 1, 4, 1, "SN-TV-0001", 3, "1", kNull, "0", 0, 0, "0"},
                {1901, 2, 1, 1, "SN-TV-0101", 3, "1", kNull, "0", 0, 0, "0"}});
}

} // namespace

namespace {

template <typename Work>
void inOneTransaction(Connection &con, Work work)
{
    Transaction tx(con);
    work();
    tx.commit();
}

void fill(Connection &con, const QDate &today)
{
    companyAndShops(con);
    usersAndSettings(con, today);
    items(con);
    arrivals(con, today);
    purchaseReturns(con, today);
}

} // namespace

void populate(Connection &con, const QDate &today)
{
    inOneTransaction(con, [&] { fill(con, today); });
}

bool isDemo(Connection &con)
{
    const Recordset companies = con.query(QStringLiteral("select CompanyID, name from acompanymaster"));
    return companies.recordCount() == 1 && companies.value(0, 0).toInt() == 1
        && companies.value(0, 1).toString() == QLatin1String(kDemoCompany);
}

bool isUnfilled(Connection &con)
{
    return con.scalar(QStringLiteral("select count(*) from acompanymaster")).toInt() == 0;
}

void recreate(Connection &con, const QDate &today)
{
    if (!isDemo(con))
        throw ModuleError(ModuleError::DatabaseFailure, con.sourceName(),
                          QStringLiteral("The database does not hold the demo company only; it is left as it is."));
    inOneTransaction(con, [&] {
        for (const char *table : kDemoTables)
            con.execute(QStringLiteral("delete from ") + QLatin1String(table));
        fill(con, today);
    });
}

} // namespace shop::demo
