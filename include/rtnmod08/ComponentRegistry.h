#pragma once

#include <rtnmod08/Export.h>

#include <QString>
#include <any>
#include <functional>
#include <memory>
#include <typeindex>

namespace shop {

/// Creates components by their names ("CommonModule.clsCommonDB", ...). The defaults are
/// registered on first use; a host replaces one with registerFactory. Every factory
/// remembers the interface it makes: registering the wrong interface under one of the
/// module's names, or asking for a component as another interface than it was
/// registered with, raises a module error instead of handing out a miscast object.
class RTNMOD08_EXPORT ComponentRegistry {
public:
    template <typename Interface>
    using FactoryOf = std::function<std::shared_ptr<Interface>()>;

    /// A registered factory of any interface; empty when none is registered.
    class Factory {
    public:
        Factory() = default;
        template <typename Interface>
        static Factory of(FactoryOf<Interface> make)
        {
            Factory f;
            if (make) {
                f.m_type = typeid(Interface);
                f.m_make = std::move(make);
            }
            return f;
        }
        explicit operator bool() const { return m_make.has_value(); }
        std::type_index type() const { return m_type; }
        template <typename Interface>
        const FactoryOf<Interface> *as() const
        {
            return std::any_cast<FactoryOf<Interface>>(&m_make);
        }

    private:
        std::type_index m_type = typeid(void);
        std::any m_make;
    };

    /// Puts a factory of the host's in place of the component named `progId` (see
    /// shop::progid). The factory is called each time the module needs the component;
    /// the module shares ownership of what it returns. An empty factory removes the name.
    template <typename Interface>
    static void registerFactory(const QString &progId, FactoryOf<Interface> make)
    {
        put(progId, Factory::of<Interface>(std::move(make)));
    }
    /// Puts back a factory read with factoryFor (an empty one removes the name).
    static void put(const QString &progId, Factory factory);
    /// The factory in use for a name; empty when none is registered.
    static Factory factoryFor(const QString &progId);

    /// Raises a module error when the name is unknown, the factory gives nothing or the
    /// component was registered as another interface.
    template <typename Interface>
    static std::shared_ptr<Interface> create(const QString &progId)
    {
        const Factory factory = lookup(progId);
        const FactoryOf<Interface> *make = factory.as<Interface>();
        if (!make)
            wrongInterface(progId, factory.type(), typeid(Interface));
        std::shared_ptr<Interface> object = (*make)();
        if (!object)
            cannotCreate(progId);
        return object;
    }

private:
    static Factory lookup(const QString &progId); ///< raises when nothing is registered
    [[noreturn]] static void cannotCreate(const QString &progId);
    [[noreturn]] static void wrongInterface(const QString &progId, std::type_index registered,
                                            std::type_index asked);
};

} // namespace shop
