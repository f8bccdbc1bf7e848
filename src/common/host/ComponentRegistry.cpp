#include <rtnmod08/ComponentRegistry.h>

#include <rtnmod08/ModuleError.h>
#include "common/host/DefaultComponents.h"
#include <rtnmod08/HostComponents.h>

#include <QHash>

namespace shop {

namespace {

// Names are compared without regard to case, as the host's component lookup does.
QHash<QString, ComponentRegistry::Factory> &factories()
{
    static QHash<QString, ComponentRegistry::Factory> all;
    return all;
}

// The interface the module expects behind each of its own names.
std::type_index expectedInterface(const QString &progId)
{
    static const QHash<QString, std::type_index> expected = {
        {progid::CommonDB.toLower(), typeid(clsCommonDB)},
        {progid::CommonGen.toLower(), typeid(clsCommonGen)},
        {progid::ErrorTracker.toLower(), typeid(ErrorDetails)},
        {progid::FormColor.toLower(), typeid(clsFormcolor)},
        {progid::UserAuditing.toLower(), typeid(clsUserAuditing)},
        {progid::GridSetting.toLower(), typeid(clsMasterGridSetting)},
        {progid::Fetch.toLower(), typeid(clsFetch)},
    };
    return expected.value(progId.toLower(), typeid(void));
}

QString typeName(std::type_index type) { return QString::fromLatin1(type.name()); }

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

void ComponentRegistry::put(const QString &progId, Factory factory)
{
    ensureDefaults();
    if (!factory) {
        factories().remove(progId.toLower());
        return;
    }
    const std::type_index expected = expectedInterface(progId);
    if (expected != typeid(void) && expected != factory.type())
        wrongInterface(progId, factory.type(), expected);
    factories().insert(progId.toLower(), std::move(factory));
}

ComponentRegistry::Factory ComponentRegistry::factoryFor(const QString &progId)
{
    ensureDefaults();
    return factories().value(progId.toLower());
}

ComponentRegistry::Factory ComponentRegistry::lookup(const QString &progId)
{
    Factory factory = factoryFor(progId);
    if (!factory)
        cannotCreate(progId);
    return factory;
}

void ComponentRegistry::cannotCreate(const QString &progId)
{
    throw ModuleError(429, progId, QStringLiteral("ActiveX component can't create object"));
}

void ComponentRegistry::wrongInterface(const QString &progId, std::type_index registered, std::type_index asked)
{
    throw ModuleError(13, progId,
                      QStringLiteral("Type mismatch: the component is registered as %1, not as %2")
                          .arg(typeName(registered), typeName(asked)));
}

} // namespace shop
