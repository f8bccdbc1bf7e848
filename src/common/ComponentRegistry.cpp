#include "common/DefaultComponents.h"
#include "common/HostComponents.h"
#include "common/ModuleError.h"

#include <QHash>

namespace shop {

namespace {

// Names are compared without regard to case, as the host's component lookup does.
QHash<QString, ComponentRegistry::Factory> &factories()
{
    static QHash<QString, ComponentRegistry::Factory> all;
    return all;
}

// The defaults go in first, so that a host's own registration, made before or after
// the first component is created, always replaces them and is never overwritten.
void ensureDefaults()
{
    static bool registering = false;
    static bool done = false;
    if (done || registering)
        return;
    registering = true;
    registerDefaultComponents();
    registering = false;
    done = true;
}

} // namespace

void ComponentRegistry::registerFactory(const QString &progId, Factory factory)
{
    ensureDefaults();
    if (factory)
        factories().insert(progId.toLower(), std::move(factory));
    else
        factories().remove(progId.toLower());
}

std::shared_ptr<void> ComponentRegistry::createObject(const QString &progId)
{
    ensureDefaults();
    const Factory factory = factories().value(progId.toLower());
    std::shared_ptr<void> object = factory ? factory() : nullptr;
    if (!object)
        throw ModuleError(429, progId, QStringLiteral("ActiveX component can't create object"));
    return object;
}

ComponentRegistry::Factory ComponentRegistry::factoryFor(const QString &progId)
{
    ensureDefaults();
    return factories().value(progId.toLower());
}

} // namespace shop
