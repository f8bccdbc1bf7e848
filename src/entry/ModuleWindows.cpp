#include "entry/ModuleWindows.h"
#include "common/db/ConnectionInternals.h"

#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include <rtnmod08/Connection.h>
#include "editor/frmCancel.h"
#include "editor/EditorChildWindows.h"
#include "editor/frmStockDetails.h"
#include "items/frmItemDetails.h"
#include "printing/frmPrint.h"
#include "register/RegisterChildWindows.h"

#include <QCoreApplication>

namespace shop {

namespace {

// The editor the register asked for: empty for a new return, filled with the stored one.
std::unique_ptr<QDialog> openEditor(EntryRequest request)
{
    const bool stored = request.mode == EntryMode::Stored;
    const ConnectionPtr &con = moduleState().gadocon;
    const int lost = con ? sessionsLost(*con) : 0;
    auto editor = std::make_unique<frmStockDetails>(std::move(request));
    editor->Form_Load();
    // Loading has told the user the server is gone (reporting it may already have
    // reconnected); an empty editor would only mislead.
    if (editor->loadFailed() && con && (con->isLost() || sessionsLost(*con) != lost))
        return nullptr;
    if (stored)
        editor->loadEntry();
    editor->restoreDraft();
    return editor;
}

std::unique_ptr<QDialog> openDeletion(const DeletionRequest &request)
{
    auto dialog = std::make_unique<frmCancel>(request.id, request.number);
    dialog->Form_Load();
    return dialog;
}

std::unique_ptr<QDialog> openPrint(TransactionId id, QWidget *viewerOwner)
{
    auto dialog = std::make_unique<frmPrint>(id, viewerOwner);
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
        windows.print = openPrint;
    EditorChildWindows &editorWindows = EditorChildWindows::current();
    if (!editorWindows.itemDetails)
        editorWindows.itemDetails = openItemDetails;
}

} // namespace shop
