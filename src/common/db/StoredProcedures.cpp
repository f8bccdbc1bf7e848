#include "common/db/StoredProcedures.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/Connection.h>
#include <rtnmod08/ModuleError.h>

namespace shop {

namespace {

// One statement pair serves both backends: on PostgreSQL the values come from the
// function's arguments, on SQLite they are bound.
// The stock is kept on three decimals, so that many small returns never drift it.
//   sign, shop, transaction, shop, shop, transaction
const char *const kAdjustExisting =
    "update mosShopStock set stock = cast(stock + %1 * (select sum(d.wdpurchasereturnqty) "
    "from LOsPurchaseReturnDetail d where d.wdshopid = %2 and d.wdid = %3 "
    "and d.wditemid = mosShopStock.itemid) as numeric(18,3)) "
    "where shopid = %2 and itemid in (select wditemid from LOsPurchaseReturnDetail "
    "where wdshopid = %2 and wdid = %3)";
//   shop, sign, shop, transaction, shop
const char *const kInsertMissing =
    "insert into mosShopStock (itemid, shopid, stock) "
    "select d.wditemid, %2, cast(%1 * sum(d.wdpurchasereturnqty) as numeric(18,3)) from LOsPurchaseReturnDetail d "
    "where d.wdshopid = %2 and d.wdid = %3 and not exists (select 1 from mosShopStock m "
    "where m.itemid = d.wditemid and m.shopid = %2) group by d.wditemid";

int signFor(const QString &procedure, const QString &action)
{
    const QString a = action.trimmed().toUpper();
    if (procedure == QLatin1String("spupdateshopwriteoff"))
        return a == QLatin1String("R") ? 1 : a == QLatin1String("F") ? -1 : 0;
    return a == QLatin1String("P") ? 1 : 0;
}

void adjustStock(Connection &con, const QString &procedure, const QVariantList &params)
{
    if (params.size() < 3)
        throw ModuleError(ModuleError::DatabaseFailure, con.sourceName(),
                          QStringLiteral("Procedure or function %1 expects 4 parameters.").arg(procedure));
    bool okTrans = false;
    bool okShop = false;
    const int trans = params.at(0).toInt(&okTrans);
    const int shopId = params.at(1).toInt(&okShop);
    if (!okTrans || !okShop)
        throw ModuleError(ModuleError::DatabaseFailure, con.sourceName(),
                          QStringLiteral("Error converting a parameter of %1 to int.").arg(procedure));
    const int sign = signFor(procedure, params.at(2).toString());
    if (sign == 0)
        return;
    const QString q = QStringLiteral("?");
    con.execute(QString::fromLatin1(kAdjustExisting).arg(q, q, q), {sign, shopId, trans, shopId, shopId, trans});
    con.execute(QString::fromLatin1(kInsertMissing).arg(q, q, q), {shopId, sign, shopId, trans, shopId});
}

// Stock rows are locked in item order before they change, as every writer of the
// module locks them, so that two writers never wait on each other crosswise.
QString serverFunction(const QString &name, const QString &signs)
{
    return QStringLiteral(
               "create or replace function %1(p_trans integer, p_shop integer, p_action text, p_type text) "
               "returns integer language plpgsql as $$\n"
               "declare s integer := case upper(trim(p_action)) %2 else 0 end;\n"
               "begin\n"
               "  if s = 0 then return 0; end if;\n"
               "  perform 1 from mosShopStock where shopid = p_shop and itemid in (select wditemid "
               "from LOsPurchaseReturnDetail where wdshopid = p_shop and wdid = p_trans) order by itemid for update;\n"
               "  %3;\n"
               "  %4;\n"
               "  return 0;\n"
               "end $$")
        .arg(name, signs,
             QString::fromLatin1(kAdjustExisting).arg(QStringLiteral("s"), QStringLiteral("p_shop"), QStringLiteral("p_trans")),
             QString::fromLatin1(kInsertMissing).arg(QStringLiteral("s"), QStringLiteral("p_shop"), QStringLiteral("p_trans")));
}

} // namespace

void installEmbeddedProcedures(Connection &con)
{
    for (const char *name : {"spupdateshopwriteoff", "spupdateshoppurchasereturn"}) {
        const QString procedure = QString::fromLatin1(name);
        installEmbeddedProcedure(con, procedure, [procedure](Connection &c, const QVariantList &params) {
            adjustStock(c, procedure, params);
        });
    }
}

QStringList serverProcedureDefinitions()
{
    return {serverFunction(QStringLiteral("spUpdateshopWriteoff"), QStringLiteral("when 'R' then 1 when 'F' then -1")),
            serverFunction(QStringLiteral("spUpdateshopPurchaseReturn"), QStringLiteral("when 'P' then 1"))};
}

} // namespace shop
