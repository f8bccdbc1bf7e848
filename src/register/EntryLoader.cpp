#include "register/EntryLoader.h"

#include "common/Conversions.h"
#include "common/FlexGrid.h"
#include "common/HostComponents.h"
#include "common/Lookups.h"
#include "common/ModuleError.h"
#include "common/ModuleState.h"
#include "common/Ui.h"
#include "editor/ModuleAudit.h"
#include "editor/frmStockDetails.h"
#include "register/BrowseGrid.h"
#include "register/StoredEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

namespace shop {

namespace {

bool isYes(const FlexGrid &grid, int row, int column) { return grid.textMatrix(row, column) == QLatin1String("Yes"); }

// One allocation table: a table that cannot be read is reported to the user and the
// rest of the entry still loads.
void loadAllocations(TextTable &table, const std::function<QList<QStringList>()> &read)
{
    try {
        for (const QStringList &cells : read())
            table.addRow(cells);
    } catch (const ModuleError &error) {
        Ui::current().message(error.description(), MsgIcon::Critical, moduleState().gstrMessageTitle);
    } catch (const std::exception &error) {
        Ui::current().message(QString::fromLocal8Bit(error.what()), MsgIcon::Critical, moduleState().gstrMessageTitle);
    }
}

void fillHeader(frmStockDetails &editor, const StoredHeader &header, clsCommonGen &gen)
{
    const frmStockDetails::Controls &ui = editor.controls();
    ui.txtWriteNo->setText(header.number);
    ui.txtProcessDate->setText(header.dateText);
    ui.txtUserName->setText(header.userName);
    ui.txtRemark->setText(header.remarks);
    ui.Chkconfirmed->setChecked(header.confirmed);
    if (header.confirmed)
        ui.cmdOK->setEnabled(false);
    if (moduleState().gstrTransType == QLatin1String("I")) {
        ui.txtapproved->setText(header.approvedBy);
        ui.txtreceived->setText(header.receivedBy);
    }
    if (!header.otherDepartmentId.isNull())
        gen.SelectComboItemByValue(ui.cbodepartment, header.otherDepartmentId);
    if (!header.apartmentId.isNull())
        gen.SelectComboItemByValue(ui.cboApartmentNo, header.apartmentId);
}

void fillLines(frmStockDetails &editor, const QList<QStringList> &lines, clsCommonGen &gen)
{
    QTreeWidget *list = editor.controls().lvwStock;
    list->clear();
    for (const QStringList &l : lines)
        gen.fnInsertListView(list, 0, l.at(0), l.at(1), l.at(2), l.at(3), l.at(4), l.at(5), l.at(6), l.at(7), l.at(8),
                             l.at(9));
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

} // namespace

RegisterRow RegisterRow::current(const FlexGrid &grid)
{
    const int row = grid.row();
    RegisterRow r;
    r.id = grid.textMatrix(row, BrowseGrid::IdColumn);
    r.dateText = grid.textMatrix(row, BrowseGrid::DateColumn);
    r.cancelled = isYes(grid, row, BrowseGrid::CancelledColumn);
    r.posted = isYes(grid, row, BrowseGrid::PostedColumn);
    r.confirmed = isYes(grid, row, BrowseGrid::ConfirmedColumn);
    return r;
}

void loadStoredEntry(frmStockDetails &editor, const RegisterRow &row, bool mayChangeBackDated)
{
    const ModuleState &state = moduleState();
    const qint32 shopId = state.gintShopID;
    const qint32 transId = toInt32(QVariant(row.id));
    const auto gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);

    const StoredHeader header = readStoredHeader(shopId, transId);
    fillHeader(editor, header, *gen);
    fillLines(editor, readStoredLines(shopId, transId, StoredFlags{row.cancelled, row.confirmed}), *gen);

    if (fnLocationArrangement(toInt16(QVariant(shopId))))
        loadAllocations(editor.flxLocations(), [&] { return readLocationRows(state.gintInterfaceID, shopId, transId); });
    loadAllocations(editor.flxexpiry(), [&] { return readExpiryRows(state.gintInterfaceID, shopId, transId); });
    loadAllocations(editor.flxserial(), [&] { return readSerialRows(state.gintInterfaceID, shopId, transId); });

    QPushButton *ok = editor.controls().cmdOK;
    if (row.cancelled)
        ok->setEnabled(false);
    if (row.posted) {
        ok->setEnabled(false);
        Ui::current().message(QStringLiteral("Entry Posted,Cannot Modify"), MsgIcon::Information, QString());
    }
    if (header.posted) {
        ok->setEnabled(false);
        Ui::current().message(QStringLiteral("Entry posted to journal"), MsgIcon::Information, state.gstrMessageTitle);
    }
    const QDate entryDate = parseDate(row.dateText);
    if (entryDate.isValid() && entryDate < state.gdtProcessDate && !mayChangeBackDated)
        ok->setEnabled(false);

    moduleAudit().SaveInToTag(&editor);
}

} // namespace shop
