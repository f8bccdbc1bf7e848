#include "entry/clsShopWriteoff.h"

#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "register/FrmMaster.h"
#include "entry/ModuleWindows.h"
#include "common/db/Schema.h"

namespace shop {

ConnectionPtr &clsShopWriteoff::adocon()
{
    if (!m_adocon)
        m_adocon = std::make_shared<Connection>();
    return m_adocon;
}

void clsShopWriteoff::fillModuleState()
{
    ModuleState &state = moduleState();
    state.gintCompanyID = intCompanyID;
    state.gintUserID = intUserID;
    state.gintShopID = intShopID;
    state.gstrMessageTitle = MessageTitle;
    state.gadocon = adocon();
    state.gdtProcessDate = gdtProccessDate;
    state.gstrTransType = strtranstype;
}

void clsShopWriteoff::Show()
{
    fillModuleState();
    ModuleState &state = moduleState();
    // The host's connection may never have been through our schema setup.
    if (state.gadocon && state.gadocon->isOpen())
        schema::attach(*state.gadocon);
    installModuleWindows();
    // A fresh register every time: the last one was unloaded when it closed.
    FrmMaster window;
    window.Form_Load();
    Ui::current().showModal(window, nullptr);
}

} // namespace shop

shop::clsShopWriteoff *rtnmod08_create_clsShopWriteoff() { return new shop::clsShopWriteoff; }

void rtnmod08_destroy_clsShopWriteoff(shop::clsShopWriteoff *object) { delete object; }
