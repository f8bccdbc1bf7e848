#include "common/host/DefaultComponents.h"

#include "common/host/DefaultCommonDB.h"
#include "common/host/DefaultCommonGen.h"
#include "common/host/DefaultErrorDetails.h"
#include "common/host/DefaultFetch.h"
#include "common/host/DefaultFormColour.h"
#include "common/host/DefaultGridSetting.h"
#include "common/host/DefaultUserAuditing.h"
#include <rtnmod08/HostComponents.h>

namespace shop {

namespace {

template <typename Interface, typename Implementation>
void registerDefault(const QString &progId)
{
    ComponentRegistry::registerFactory<Interface>(progId, [] { return std::make_shared<Implementation>(); });
}

} // namespace

void registerDefaultComponents()
{
    registerDefault<clsCommonDB, DefaultCommonDB>(progid::CommonDB);
    registerDefault<clsCommonGen, DefaultCommonGen>(progid::CommonGen);
    registerDefault<ErrorDetails, DefaultErrorDetails>(progid::ErrorTracker);
    registerDefault<clsFormcolor, DefaultFormColour>(progid::FormColor);
    registerDefault<clsUserAuditing, DefaultUserAuditing>(progid::UserAuditing);
    registerDefault<clsMasterGridSetting, DefaultGridSetting>(progid::GridSetting);
    registerDefault<clsFetch, DefaultFetch>(progid::Fetch);
}

} // namespace shop
