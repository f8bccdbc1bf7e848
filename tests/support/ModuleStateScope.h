#pragma once

#include "common/host/ModuleState.h"

#include <QDate>

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

    // Starts afresh, on the same connection, as the host leaves the state for a user of
    // a shop of the demo company on the demo's process date.
    ModuleState &login(qint32 user = 1, qint32 shopId = 1, const QString &type = QStringLiteral("P"))
    {
        ModuleState s;
        s.gadocon = moduleState().gadocon;
        s.gintUserID = user;
        s.gintShopID = shopId;
        s.gintCompanyID = 1;
        s.gdtProcessDate = QDate(2026, 12, 6);
        s.gstrTransType = type;
        s.gstrMessageTitle = QStringLiteral("Returns");
        return moduleState() = s;
    }

private:
    ModuleState m_saved;
};

} // namespace shop::test
