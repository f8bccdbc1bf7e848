#include "editor/ModuleAudit.h"

#include <QDateTime>

namespace shop {

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

} // namespace shop
