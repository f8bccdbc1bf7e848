#pragma once

#include <rtnmod08/ModuleError.h>

#include <functional>
#include <optional>

namespace shop::test {

// The module error `work` raises, if it raises one.
inline std::optional<ModuleError> errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const ModuleError &e) {
        return e;
    }
    return std::nullopt;
}

// Its number; 0 when `work` raises none.
inline long long errorNumberOf(const std::function<void()> &work)
{
    const std::optional<ModuleError> e = errorOf(work);
    return e ? e->number() : 0;
}

} // namespace shop::test
