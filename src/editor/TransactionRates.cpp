#include "editor/TransactionRates.h"

#include "common/core/Conversions.h"
#include "common/routines/ExchangeRates.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/db/SqlText.h"

namespace shop {

namespace {

// Adds the currency of an account when the account is there at all.
void addAccount(ModuleState &state, const QVariant &accountId, qint32 &kept)
{
    if (accountId.isNull())
        return;
    kept = toInt32(accountId);
    state.gstrExchangeRates = fnAddExchangeRate(state.gstrExchangeRates, QStringLiteral("A"), kept);
}

} // namespace

void buildTransactionRates()
{
    ModuleState &state = moduleState();
    Connection &con = connectionOf(state.gadocon);
    state.gstrExchangeRates = fnAddExchangeRate(QString(), QStringLiteral("B"), state.gintCompanyID);
    state.gstrExchangeRates = fnAddExchangeRate(state.gstrExchangeRates, QStringLiteral("Z"), state.gintCompanyID);

    const Recordset package = con.query(
        QStringLiteral("select InventoryID,stocktransfercontrolacc from apackagesettings where companyid=?"),
        {state.gintCompanyID});
    if (!package.isEmpty()) {
        addAccount(state, package.field(QStringLiteral("InventoryID")), state.gintInventoryID);
        addAccount(state, package.field(QStringLiteral("stocktransfercontrolacc")), state.gintStockTransferAccID);
    }

    const Recordset shop =
        con.query(QStringLiteral("select stockWriteoffAccID from ashops where ShopID=?"), {state.gintShopID});
    if (!shop.isEmpty()) {
        qint32 writeOffAccount = 0;
        addAccount(state, shop.field(QStringLiteral("stockWriteoffAccID")), writeOffAccount);
    }

    const auto db = newCommonDB(QStringLiteral("ashops"));
    const QVariant department =
        db->fnReturnField(QStringLiteral("DepartmentID"), QStringLiteral("ShopID = ") + sqlNumber(state.gintShopID));
    if (!department.isNull() && !department.toString().isEmpty()) {
        state.gintShopDepartmentID = toInt32(department);
        state.gstrExchangeRates =
            fnAddExchangeRate(state.gstrExchangeRates, QStringLiteral("D"), state.gintShopDepartmentID);
    }
}

} // namespace shop
