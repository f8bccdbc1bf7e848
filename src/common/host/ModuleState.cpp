#include "common/host/ModuleState.h"

#include <rtnmod08/ComponentRegistry.h>

#include <QDateTime>

namespace shop {

ModuleState &moduleState()
{
    static ModuleState state;
    return state;
}

clsUserAuditing &moduleAudit()
{
    ModuleState &state = moduleState();
    if (!state.gobjAudit) {
        state.gobjAudit = ComponentRegistry::create<clsUserAuditing>(progid::UserAuditing);
        state.gobjAudit->OpenObject(state.gadocon, state.gintCompanyID, state.gintShopID, state.gintUserID,
                                    state.gintInterfaceID, QDateTime::currentDateTime());
    }
    return *state.gobjAudit;
}

Session sessionOf(const ModuleState &state)
{
    Session s;
    s.userId = state.gintUserID;
    s.shopId = state.gintShopID;
    s.companyId = state.gintCompanyID;
    s.interfaceId = state.gintInterfaceID;
    s.companyLogin = state.gintCompanyLogin;
    s.transType = state.gstrTransType;
    s.processDate = state.gdtProcessDate;
    s.messageTitle = state.gstrMessageTitle;
    s.stockView = state.gstrStockView;
    s.integerQuantity = state.gblnIntegerQuantity;
    s.mode = entryModeOf(state.gstrMode);
    s.listQuery = state.gstrListQuery;
    s.inventoryId = state.gintInventoryID;
    s.stockTransferAccId = state.gintStockTransferAccID;
    s.shopDepartmentId = state.gintShopDepartmentID;
    s.exchangeRates = state.gstrExchangeRates;
    s.audit = state.gobjAudit;
    return s;
}

Session moduleSession()
{
    moduleAudit();
    return sessionOf(moduleState());
}

} // namespace shop
