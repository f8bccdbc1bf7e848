#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace shop {

class FrmMaster;

// How the register gets the windows it opens: the editor (New and Edit), the
// deletion dialog and the print dialog. The application uses the module's own
// windows; tests put stand-ins here. A window that is not there yet is reported
// to the user instead of being opened.
struct RegisterChildWindows {
    // Creates the editor for gstrMode "N" (empty) or "E" (filled with the register's current row).
    std::function<std::unique_ptr<QDialog>(FrmMaster &)> editor;
    std::function<std::unique_ptr<QDialog>(FrmMaster &)> deletion;
    std::function<std::unique_ptr<QDialog>(FrmMaster &)> print;

    static RegisterChildWindows &current();
};

} // namespace shop
