#include "common/Schema.h"

#include "common/ModuleError.h"
#include "common/StoredProcedures.h"

#include <QStringList>

namespace shop::schema {

namespace {

// Types differ only where the backends name them differently: SQLite keeps dates
// as ISO text (yyyy-MM-dd), PostgreSQL as date.
QString typed(const QString &ddl, Backend backend)
{
    QString s = ddl;
    const bool pg = backend == Backend::Postgres;
    s.replace(QLatin1String("{DATE}"), pg ? QLatin1String("date") : QLatin1String("text"));
    s.replace(QLatin1String("{STAMP}"), pg ? QLatin1String("timestamp(0)") : QLatin1String("text"));
    s.replace(QLatin1String("{QTY}"), QLatin1String("numeric(18,3)"));
    s.replace(QLatin1String("{RATE}"), QLatin1String("double precision"));
    return s;
}

const QStringList &step1()
{
    static const QStringList ddl{
        // Company, shops, money
        "create table acompanymaster (CompanyID integer primary key, CurrencyID integer not null, name text, "
        "Address1 text, Address2 text, Address3 text)",
        "create table aSettings (CompanyID integer primary key references acompanymaster(CompanyID), CashGroupID integer)",
        "create table ExchangeRateDetail (CompanyID integer not null, CurrencyID integer not null, SellingRate {RATE}, "
        "primary key (CompanyID, CurrencyID))",
        "create table adepartmentmaster (DepartmentID integer primary key, DepartmentName text, CompanyID integer, "
        "depcurrencyid integer)",
        "create table aaccountmaster (accountID integer primary key, CompanyID integer, currencyid integer, accountname text)",
        "create table avendormaster (vendorID integer primary key, CompanyID integer, currencyid integer, vendorname text)",
        "create table acustomermaster (customerID integer primary key, CompanyID integer, currencyid integer, customername text)",
        "create table adepcontrolaccounts (maindepid integer not null, otherdepid integer not null, CompanyID integer not null, "
        "controlaccid integer, primary key (maindepid, otherdepid, CompanyID))",
        "create table aPackageSettings (companyid integer primary key, InventoryID integer, stocktransfercontrolacc integer, "
        "alias integer default 0, CompanyLogin integer default 0, TransactionsSummary integer default 0, "
        "IntegerQuantity integer default 0, AllowItemCodeDuplication integer default 0)",
        "create table aalias (aliasid integer primary key, Alias text)",
        "create table acountrymaster (countryid integer primary key, CountryName text)",
        "create table acity (cityid integer primary key, CityName text)",
        "create table ashops (ShopID integer primary key, CompanyID integer references acompanymaster(CompanyID), "
        "DepartmentID integer, futurevarchar text, stockWriteoffAccID integer, ExpenseAccount integer, "
        "LocationArrangement integer default 0, RevisedCostPricePercent {RATE} default 0, shopname text, address text, "
        "countryid integer, cityid integer, telephoneno text, faxno text)",
        "create table losapartmentdetail (apdapartmentid integer primary key, apdapartmentNo text, apdshopid integer, "
        "apdcompanyid integer)",
        "create table aFinancialYear (FinancialId integer primary key, CurFinancialYear integer default 0, yearname text)",
        "create table aPrefix (Prefix text, InterfaceID integer not null, FinancialId integer not null, shopid integer not null, "
        "primary key (InterfaceID, FinancialId, shopid))",
        "create table Lousers (userid integer not null, shopid integer not null, username text, primary key (userid, shopid))",
        "create table louserrights (userid integer not null, interfaceid integer not null, functionrights text, "
        "primary key (userid, interfaceid))",
        "create table LOsSettings (shopid integer primary key, sNoofBackDays integer, defaultfetch integer)",
        "create table losdayclose (shopid integer not null, closedate {DATE} not null, primary key (shopid, closedate))",
        "create table ashopprintmessages (shopid integer not null, transtype text not null, messageid integer not null, "
        "allignment text, message text, primary key (shopid, transtype, messageid))",
        "create table alistviewheader (lvwid integer primary key, lvwtransname text, lvwname text, lvwmodulename text)",
        "create table alistviewdetails (lvwdid integer not null references alistviewheader(lvwid), lvwcolid integer not null, "
        "lvwdcolwidth integer, lvwdcolalign integer, primary key (lvwdid, lvwcolid))",
        "create table atables (tableid integer primary key, tablename text)",
        "create table atablecolumns (tableid integer not null references atables(tableid), columnorder integer not null, "
        "columnheader text, columnname text, primary key (tableid, columnorder))",
        // Items and stock
        "create table aUnit (UnitId integer primary key, UnitCode text)",
        "create table aItem (ItemId integer primary key, itemcode text, description text, itemtype text, Active integer default 1, "
        "brand text, modelno text, part_code text, UnitsId integer references aUnit(UnitId), ExpiryNoOfDays integer, "
        "SerialNoActive integer default 0, SerialNodupli integer default 0, ItemRate {RATE} default 0)",
        "create table aItemPackingDetail (itemid integer not null references aItem(ItemId), packingtypeid integer, "
        "packingbarcode text not null, Active integer default 1, primary key (itemid, packingbarcode))",
        "create table ashopitemDetail (itemid integer not null references aItem(ItemId), shopid integer not null, "
        "shortcutno text, primary key (itemid, shopid))",
        "create table aShipment (sShipmentId integer primary key, shipmentname text)",
        "create table mosShopStock (itemid integer not null, shopid integer not null, stock {QTY} not null default 0, "
        "primary key (itemid, shopid))",
        "create table losLocation (lLocationId integer not null, lShopId integer not null, lLocationName text, "
        "primary key (lLocationId, lShopId))",
        // Purchase returns
        "create table LOsPurchaseReturnHeader (whShopID integer not null, WhID integer not null, WhNo text, WhDate {DATE}, "
        "WhUserName text, WhRemarks text, whcancelled integer default 0, whCancelledRemarks text, whposted integer default 0, "
        "Whtransfinished integer default 0, whdepartmentid integer, whOtherDepId integer, whapartmentid integer, "
        "whreceivedby text, whauthorisedby text, whtype text, whexpenseaccid integer, whconexrate {RATE}, "
        "whdepexrate {RATE}, whexchangerates text, updatetime {STAMP}, primary key (whShopID, WhID))",
        "create unique index ix_purchasereturn_number on LOsPurchaseReturnHeader (whShopID, WhNo)",
        "create index ix_purchasereturn_date on LOsPurchaseReturnHeader (whShopID, WhDate)",
        "create table LOsPurchaseReturnDetail (wdshopid integer not null, WdID integer not null, "
        "WdItemID integer not null references aItem(ItemId), WdAvailableQty {QTY}, WdPurchaseReturnQty {QTY}, "
        "wdshipmentid integer, wdcostprice {RATE}, "
        "foreign key (wdshopid, WdID) references LOsPurchaseReturnHeader (whShopID, WhID))",
        "create index ix_purchasereturn_detail on LOsPurchaseReturnDetail (wdshopid, WdID)",
        // Arrival ledgers (written by the receiving modules)
        "create table loslocationArrivalDetails (ladInterfaceId integer, ladTransId integer, ladLocationId integer not null, "
        "ladShopId integer not null, ladItemId integer not null, ladItemQty {QTY}, ladCancel integer not null default 0)",
        "create table losExpiryArrivalDetails (eadInterfaceId integer, eadTransId integer, eadExpiryDate {DATE}, "
        "eadBatchNo text, eadShopId integer not null, eadItemId integer not null, eadItemQty {QTY}, "
        "eadCancel integer not null default 0)",
        "create table losSerialArrivalDetails (sadInterfaceId integer, sadTransId integer, sadSerialNo text, "
        "sadShopId integer not null, sadItemId integer not null, sadItemQty {QTY}, sadCancel integer not null default 0)",
        // Issue ledgers (shared by every module; a row's owner is interface + shop + transaction)
        "create table losLocationIssueDetails (lidInterfaceId integer not null, lidShopId integer not null, "
        "lidTransId integer not null, lidDetailId integer not null, lidLocationId integer not null, lidItemId integer not null, "
        "lidItemQty {QTY}, lidPackingTypeId integer, lidPakingQty {QTY}, lidCancel integer not null default 0, "
        "foreign key (lidLocationId, lidShopId) references losLocation (lLocationId, lShopId))",
        "create table losExpiryIssueDetails (eidInterfaceId integer not null, eidShopId integer not null, "
        "eidTransactionId integer not null, eidDetailId integer not null, eidExpiryDate {DATE}, eidBatchNo text, "
        "eidItemId integer not null, eidItemQty {QTY}, eidPackingTypeId integer, eidPackingQty {QTY}, "
        "eidCancel integer not null default 0)",
        "create table losSerialIssueDetails (sidInterfaceId integer not null, sidShopId integer not null, "
        "sidTransactionId integer not null, sidDetailId integer not null, sidSerialNo text, sidItemId integer not null, "
        "sidItemQty {QTY}, sidPackingTypeId integer, sidPackingQty {QTY}, sidCancel integer not null default 0, "
        "sidAdjustment integer default 0, sidFreeQty {QTY} default 0)",
        "create index ix_lid_owner on losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId)",
        "create index ix_eid_owner on losExpiryIssueDetails (eidInterfaceId, eidShopId, eidTransactionId)",
        "create index ix_sid_owner on losSerialIssueDetails (sidInterfaceId, sidShopId, sidTransactionId)",
        "create index ix_lid_balance on losLocationIssueDetails (lidShopId, lidItemId, lidCancel)",
        "create index ix_eid_balance on losExpiryIssueDetails (eidShopId, eidItemId, eidCancel)",
        "create index ix_sid_balance on losSerialIssueDetails (sidShopId, sidItemId, sidCancel)",
        "create index ix_lad_balance on loslocationArrivalDetails (ladShopId, ladItemId, ladCancel)",
        "create index ix_ead_balance on losExpiryArrivalDetails (eadShopId, eadItemId, eadCancel)",
        "create index ix_sad_balance on losSerialArrivalDetails (sadShopId, sadItemId, sadCancel)",
        // Views
        "create view vwInquiryShopStock as select itemid, shopid, stock from mosShopStock",
        "create view vwInquiryShopStockSummary as select itemid, shopid, sum(stock) stock from mosShopStock "
        "group by itemid, shopid",
        "create view vwitemdescription as select ItemId itemid, description itemdescription from aItem",
        "create view vwitemdescriptionPrint as select ItemId, description ItemDescription from aItem",
        "create view vwshopCloseDate as select shopid, max(closedate) closedate from losdayclose group by shopid",
        "create view vwshoppurchasereturn as select whid, whshopid, Whno, Whdate, Whremarks, WhUserName, whcancelled, "
        "whposted, Whtransfinished from LOsPurchaseReturnHeader",
    };
    return ddl;
}

// The module's own bookkeeping: error log, user audit, grid and form settings.
const QStringList &step2()
{
    static const QStringList ddl{
        "create table shop_error_log (errorid integer primary key, logged_at {STAMP}, window_name text, user_name text, "
        "routine text, error_number bigint, error_source text, description text, mode text)",
        "create table shop_user_audit (auditid integer primary key, logged_at {STAMP}, started_at {STAMP}, "
        "companyid integer, shopid integer, userid integer, interfaceid integer, transid integer, transno text, "
        "mode text, window_name text, changes text)",
        "create table shop_grid_settings (userid integer not null, companyid integer not null, grid_name text not null, "
        "column_index integer not null, width integer not null, primary key (userid, companyid, grid_name, column_index))",
        "create table shop_form_colours (companyid integer primary key, back_colour text, fore_colour text, "
        "button_colour text)",
    };
    return ddl;
}

const QList<const QStringList *> &steps()
{
    static const QList<const QStringList *> all{&step1(), &step2()};
    return all;
}

void ensureVersionTable(Connection &con)
{
    con.executeRaw(QStringLiteral("create table if not exists shop_schema_version (version integer not null)"));
}

} // namespace

int currentVersion() { return static_cast<int>(steps().size()); }

bool isEmptyDatabase(Connection &con)
{
    const QString sql = con.backend() == Backend::Postgres
        ? QStringLiteral("select count(*) from information_schema.tables where table_schema = current_schema()")
        : QStringLiteral("select count(*) from sqlite_master where type in ('table', 'view')");
    return con.scalar(sql).toInt() == 0;
}

int installedVersion(Connection &con)
{
    const QString sql = con.backend() == Backend::Postgres
        ? QStringLiteral("select count(*) from information_schema.tables where table_schema = current_schema() "
                         "and table_name = 'shop_schema_version'")
        : QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = 'shop_schema_version'");
    if (con.scalar(sql).toInt() == 0)
        return 0;
    return con.scalar(QStringLiteral("select max(version) from shop_schema_version")).toInt();
}

void upgrade(Connection &con, int target)
{
    if (target < 0)
        target = currentVersion();
    const int from = installedVersion(con);
    if (from > currentVersion())
        throw ModuleError(ModuleError::DatabaseFailure, con.sourceName(),
                          QStringLiteral("The database was made by a newer version of the program (schema %1).").arg(from));
    for (int version = from + 1; version <= target; ++version) {
        con.beginTrans();
        try {
            ensureVersionTable(con);
            for (const QString &ddl : *steps().at(version - 1))
                con.executeRaw(typed(ddl, con.backend()));
            if (con.backend() == Backend::Postgres) {
                for (const QString &def : con.dialect().functionDefinitions() + serverProcedureDefinitions())
                    con.executeRaw(def);
            }
            con.execute(QStringLiteral("delete from shop_schema_version"));
            con.execute(QStringLiteral("insert into shop_schema_version (version) values (?)"), {version});
            con.commitTrans();
        } catch (...) {
            con.rollbackTrans();
            throw;
        }
    }
}

} // namespace shop::schema
