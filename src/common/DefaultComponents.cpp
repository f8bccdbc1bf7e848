#include "common/DefaultComponents.h"

#include "common/DefaultCommonDB.h"
#include "common/DefaultCommonGen.h"
#include "common/DefaultErrorDetails.h"
#include "common/DefaultFetch.h"
#include "common/DefaultFormColour.h"
#include "common/DefaultGridSetting.h"
#include "common/DefaultUserAuditing.h"
#include "common/HostComponents.h"

namespace shop {

namespace {

// The object goes in as a pointer to its interface, because that is the type
// ComponentRegistry::create<Interface> casts it back to.
template <typename Interface, typename Implementation>
void registerDefault(const QString &progId)
{
    ComponentRegistry::registerFactory(progId, [] {
        return std::static_pointer_cast<void>(std::shared_ptr<Interface>(std::make_shared<Implementation>()));
    });
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
