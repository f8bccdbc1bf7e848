#include "editor/TransactionRates.h"

#include "common/core/Conversions.h"
#include "common/routines/ExchangeRates.h"
#include <rtnmod08/Recordset.h>

namespace shop {

TransactionRates buildTransactionRates(Connection &con, const Session &session)
{
    TransactionRates out{QString(), session.inventoryId, session.stockTransferAccId, session.shopDepartmentId};
    const auto add = [&](const QString &partyType, qint32 partyId) {
        out.exchangeRates = fnAddExchangeRate(con, session, out.exchangeRates, partyType, partyId);
    };
    // Adds the currency of an account when the account is there at all.
    const auto addAccount = [&](const QVariant &accountId, qint32 &kept) {
        if (accountId.isNull())
            return;
        kept = toInt32(accountId);
        add(QStringLiteral("A"), kept);
    };
    add(QStringLiteral("B"), session.companyId);
    add(QStringLiteral("Z"), session.companyId);

    const Recordset package = con.query(
        QStringLiteral("select InventoryID,stocktransfercontrolacc from apackagesettings where companyid=?"),
        {session.companyId});
    if (!package.isEmpty()) {
        addAccount(package.field(QStringLiteral("InventoryID")), out.inventoryId);
        addAccount(package.field(QStringLiteral("stocktransfercontrolacc")), out.stockTransferAccId);
    }

    const Recordset shop =
        con.query(QStringLiteral("select stockWriteoffAccID from ashops where ShopID=?"), {session.shopId});
    if (!shop.isEmpty()) {
        qint32 writeOffAccount = 0;
        addAccount(shop.field(QStringLiteral("stockWriteoffAccID")), writeOffAccount);
    }

    const Recordset department = con.query(QStringLiteral("select DepartmentID from ashops where ShopID=?"), {session.shopId});
    const QVariant departmentId = department.isEmpty() ? QVariant() : department.field(QStringLiteral("DepartmentID"));
    if (!departmentId.isNull() && !departmentId.toString().isEmpty()) {
        out.shopDepartmentId = toInt32(departmentId);
        add(QStringLiteral("D"), out.shopDepartmentId);
    }
    return out;
}

void keepTransactionRates(ModuleState &state, const TransactionRates &rates)
{
    state.gstrExchangeRates = rates.exchangeRates;
    state.gintInventoryID = rates.inventoryId;
    state.gintStockTransferAccID = rates.stockTransferAccId;
    state.gintShopDepartmentID = rates.shopDepartmentId;
    const ExchangeRateList list = parseExchangeRates(rates.exchangeRates);
    state.gCurrencyIds = list.currencyIds;
    state.gRates = list.rates;
}

} // namespace shop
