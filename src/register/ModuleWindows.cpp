#include "register/ModuleWindows.h"

#include "common/FlexGrid.h"
#include "common/GridRoutines.h"
#include "common/ModuleState.h"
#include "common/Conversions.h"
#include "editor/frmCancel.h"
#include "editor/frmStockDetails.h"
#include "register/EntryLoader.h"
#include "register/FrmMaster.h"
#include "register/RegisterChildWindows.h"

namespace shop {

namespace {

// The editor for the register's mode: empty for New, filled from the current row for Edit.
std::unique_ptr<QDialog> openEditor(FrmMaster &master)
{
    FlexGrid &grid = master.grid();
    const bool stored = moduleState().gstrMode != QLatin1String("N");
    const RegisterRow row = RegisterRow::current(grid);

    RegisterRowLink link;
    link.currentRowId = stored ? row.id : QString();
    link.refreshRow = [&grid](const QString &condition, qint32 transId) { UpdateEditedRow(grid, condition, transId); };

    auto editor = std::make_unique<frmStockDetails>(std::move(link));
    editor->Form_Load();
    if (stored)
        loadStoredEntry(*editor, row, master.fnUserRights(QStringLiteral("B")));
    return editor;
}

// The deletion dialog for the register's current row.
std::unique_ptr<QDialog> openDeletion(FrmMaster &master)
{
    const FlexGrid &grid = master.grid();
    auto dialog = std::make_unique<frmCancel>(toInt32(grid.textMatrix(grid.row(), 0)), grid.textMatrix(grid.row(), 1));
    dialog->Form_Load();
    return dialog;
}

} // namespace

void installModuleWindows()
{
    RegisterChildWindows &windows = RegisterChildWindows::current();
    if (!windows.editor)
        windows.editor = openEditor;
    if (!windows.deletion)
        windows.deletion = openDeletion;
}

} // namespace shop
