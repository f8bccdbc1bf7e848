#pragma once

#include "register/RegisterGrid.h"
#include "editor/EditorChildWindows.h"
#include "register/FrmMaster.h"
#include "entry/ModuleWindows.h"
#include "register/RegisterChildWindows.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QPushButton>
#include <memory>

namespace shop::test {

// The register with the module's own child windows on a fresh demo database, and the
// scripted user at the keyboard.
class RegisterTest : public DemoTest {
protected:
    ModuleStateScope session{db.con};
    ScriptedUiScope ui;
    std::unique_ptr<FrmMaster> master;

    void TearDown() override
    {
        RegisterChildWindows::current() = {};
        EditorChildWindows::current() = {};
    }

    FrmMaster &open(qint32 user = 1, qint32 shopId = 1, const QString &type = "P")
    {
        session.login(user, shopId, type);
        return load();
    }
    // Loads the register on the module-wide state as it stands.
    FrmMaster &load()
    {
        installModuleWindows();
        master = std::make_unique<FrmMaster>();
        master->Form_Load();
        return *master;
    }

    RegisterGrid &grid() { return master->grid(); }
    QPushButton *button(const char *name) { return master->findChild<QPushButton *>(name); }
    int rowOf(const QString &number)
    {
        for (int r = 1; r < grid().rows(); ++r)
            if (grid().textMatrix(r, 1) == number)
                return r;
        return -1;
    }
    void standOn(const QString &number) { grid().setRow(rowOf(number)); }
    QStringList numbers()
    {
        QStringList out;
        for (int r = 1; r < grid().rows(); ++r)
            out << grid().textMatrix(r, 1);
        return out;
    }
};

} // namespace shop::test
