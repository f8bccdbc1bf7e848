#pragma once

#include "common/ModuleState.h"

namespace shop::test {

// Gives a test its own module-wide state, starting from the defaults (or from a
// connection), and puts the previous state back afterwards.
class ModuleStateScope {
public:
    explicit ModuleStateScope(ConnectionPtr con = nullptr) : m_saved(moduleState())
    {
        moduleState() = ModuleState();
        moduleState().gadocon = std::move(con);
    }
    ~ModuleStateScope() { moduleState() = m_saved; }
    ModuleStateScope(const ModuleStateScope &) = delete;
    ModuleStateScope &operator=(const ModuleStateScope &) = delete;

    ModuleState *operator->() { return &moduleState(); }

private:
    ModuleState m_saved;
};

} // namespace shop::test
