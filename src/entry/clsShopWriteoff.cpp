#include "entry/ModuleSession.h"

#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "register/FrmMaster.h"
#include "entry/ModuleWindows.h"
#include "common/db/Schema.h"

namespace shop {

// Nested in an exported class, its members would be exported too; a host never sees them.
class Q_DECL_HIDDEN clsShopWriteoff::Private {
public:
    ConnectionPtr adocon;
};

clsShopWriteoff::clsShopWriteoff() : d(std::make_unique<Private>()) {}

clsShopWriteoff::~clsShopWriteoff() = default;

ConnectionPtr &clsShopWriteoff::adocon()
{
    if (!d->adocon)
        d->adocon = std::make_shared<Connection>();
    return d->adocon;
}

void clsShopWriteoff::setAdocon(ConnectionPtr connection) { d->adocon = std::move(connection); }

void fillModuleState(clsShopWriteoff &module)
{
    ModuleState &state = moduleState();
    state.gintCompanyID = module.intCompanyID;
    state.gintUserID = module.intUserID;
    state.gintShopID = module.intShopID;
    state.gstrMessageTitle = module.MessageTitle;
    state.gadocon = module.adocon();
    state.gdtProcessDate = module.gdtProccessDate;
    state.gstrTransType = module.strtranstype;
}

void clsShopWriteoff::Show()
{
    fillModuleState(*this);
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
