#pragma once

#include <rtnmod08/HostComponents.h>

#include <memory>

namespace shop::test {

// Replaces a host component by a test's own object for the lifetime of a test and
// puts the previous factory back afterwards.
class ComponentOverride {
public:
    template <typename Interface>
    ComponentOverride(const QString &progId, std::shared_ptr<Interface> object)
        : m_progId(progId), m_previous(ComponentRegistry::factoryFor(progId))
    {
        ComponentRegistry::registerFactory<Interface>(progId, [held = std::move(object)] { return held; });
    }
    ~ComponentOverride() { ComponentRegistry::put(m_progId, m_previous); }
    ComponentOverride(const ComponentOverride &) = delete;
    ComponentOverride &operator=(const ComponentOverride &) = delete;

private:
    QString m_progId;
    ComponentRegistry::Factory m_previous;
};

} // namespace shop::test
