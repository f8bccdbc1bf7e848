#include "entry/ModuleWindows.h"
#include "common/db/ConnectionInternals.h"

#include "common/host/ModuleState.h"
#include "common/ui/FlexGrid.h"
#include "common/ui/Ui.h"
#include <rtnmod08/Connection.h>
#include "editor/frmCancel.h"
#include "editor/EditorChildWindows.h"
#include "editor/frmStockDetails.h"
#include "items/frmItemDetails.h"
#include "printing/frmPrint.h"
#include "register/BrowseGrid.h"
#include "register/FrmMaster.h"
#include "register/RegisterChildWindows.h"
#include "register/RegisterRow.h"

#include <QCoreApplication>

namespace shop {

namespace {

// The editor for the register's mode: empty for New, filled from the current row for Edit.
std::unique_ptr<QDialog> openEditor(FrmMaster &master)
{
    FlexGrid &grid = master.grid();
    const bool stored = moduleState().gstrMode != QLatin1String("N");
    const RegisterRow row = stored ? RegisterRow::current(grid, master.fnUserRights(QStringLiteral("B"))) : RegisterRow{};

    RegisterRowLink link;
    link.currentRowId = row.id;
    const EntryMode mode = stored ? EntryMode::Stored : EntryMode::New;
    link.saved = [&master, mode](TransactionId id) { master.refreshRow(id, mode); };

    const ConnectionPtr &con = moduleState().gadocon;
    const int lost = con ? sessionsLost(*con) : 0;
    auto editor = std::make_unique<frmStockDetails>(std::move(link));
    editor->Form_Load();
    // Loading has told the user the server is gone (reporting it may already have
    // reconnected); an empty editor would only mislead.
    if (editor->loadFailed() && con && (con->isLost() || sessionsLost(*con) != lost))
        return nullptr;
    if (stored)
        editor->loadEntry(row.id, row.listing);
    return editor;
}

// The deletion dialog for the register's current row.
std::unique_ptr<QDialog> openDeletion(FrmMaster &master)
{
    const FlexGrid &grid = master.grid();
    const RegisterRow row = RegisterRow::current(grid, false);
    auto dialog = std::make_unique<frmCancel>(row.id, grid.textMatrix(grid.row(), BrowseGrid::NumberColumn));
    dialog->Form_Load();
    return dialog;
}

// The item window on the editor's lines, for Add and Edit.
std::unique_ptr<QDialog> openItemDetails(frmStockDetails &editor)
{
    auto window = std::make_unique<frmItemDetails>(editor.lines(), editor.transId());
    window->Form_Load();
    return window;
}

} // namespace

void installModuleWindows()
{
    // A command waiting for a cluster's standby to take over shows the hourglass.
    setServerWaitObserver([](bool waiting) {
        Ui::current().setBusy(waiting);
        if (waiting)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    RegisterChildWindows &windows = RegisterChildWindows::current();
    if (!windows.editor)
        windows.editor = openEditor;
    if (!windows.deletion)
        windows.deletion = openDeletion;
    if (!windows.print)
        windows.print = [](FrmMaster &master) -> std::unique_ptr<QDialog> {
            auto dialog = std::make_unique<frmPrint>(master.grid().textMatrix(master.grid().row(), 0), &master);
            dialog->Form_Load();
            return dialog;
        };
    EditorChildWindows &editorWindows = EditorChildWindows::current();
    if (!editorWindows.itemDetails)
        editorWindows.itemDetails = openItemDetails;
}

} // namespace shop
