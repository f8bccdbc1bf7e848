#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace shop {

class frmStockDetails;

// How the editor gets the item window that Add and Edit open. The application
// installs the module's own window; tests put a stand-in here that writes a line and
// its allocation rows the way the item window does. Without one, Add and Edit tell
// the user that item entry is not available.
struct EditorChildWindows {
    std::function<std::unique_ptr<QDialog>(frmStockDetails &)> itemDetails;

    static EditorChildWindows &current();
};

} // namespace shop
