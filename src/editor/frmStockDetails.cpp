#include "editor/frmStockDetails.h"

#include "common/core/Conversions.h"
#include "common/host/ErrorReporting.h"
#include "common/ui/FormKeys.h"
#include "common/routines/Lookups.h"
#include <rtnmod08/HostComponents.h>
#include "common/routines/ListViewColumns.h"
#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/ui/NamedWidget.h"
#include "common/db/SqlText.h"
#include "common/ui/Ui.h"
#include "editor/EditorChildWindows.h"
#include "editor/EditorLookups.h"
#include "editor/EntryDraft.h"
#include "editor/PurchaseReturnSave.h"
#include "editor/SaveValidation.h"
#include "editor/StoredEntry.h"
#include "editor/TransactionRates.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace shop {

namespace {

const QString WindowName = QStringLiteral("frmStockDetails");
const QString ListModule = QStringLiteral("shopwriteoff");
const QString DefaultCaption = QStringLiteral("Shop Purchase Return Details");

QAction *menuAction(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

const QString &messageTitle() { return moduleState().gstrMessageTitle; }

[[noreturn]] void noSelectedLine()
{
    throw ModuleError(91, WindowName, QStringLiteral("Object variable or With block variable not set"));
}

std::optional<qint32> selectedId(const QComboBox *combo)
{
    if (combo->currentIndex() < 0)
        return std::nullopt;
    return toInt32(combo->currentData());
}

} // namespace

frmStockDetails::frmStockDetails(EntryRequest request, QWidget *parent) : QDialog(parent), m_request(std::move(request))
{
    setObjectName(WindowName);
    buildWindow();
    m_draftTimer.setSingleShot(true);
    m_draftTimer.setInterval(0);
    connect(&m_draftTimer, &QTimer::timeout, this, &frmStockDetails::writeDraft);
    m_lines.setObserver([this] {
        redrawLines();
        m_draftTimer.start();
    });
}

frmStockDetails::~frmStockDetails() = default;

void frmStockDetails::buildWindow()
{
    ui.setupUi(this);
    // Widths until the stored list settings apply.
    const int widths[line::ColumnCount] = {48, 70, 100, 300, 110, 100, 80, 60, 90, 60};
    for (int c = 0; c < line::ColumnCount; ++c)
        ui.lvwStock->setColumnWidth(c, widths[c]);
    for (int c : {line::Shipment, line::ShipmentId, line::ItemId})
        ui.lvwStock->setColumnHidden(c, true);

    ui.mnuPopup = namedWidget<QMenu>(this, QStringLiteral("mnuPopup"));
    ui.mnuPopup->setTitle(QStringLiteral("Popup"));
    ui.mnuAdd = menuAction(ui.mnuPopup, QStringLiteral("mnuAdd"), QStringLiteral("&Add"));
    ui.mnuEdit = menuAction(ui.mnuPopup, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    ui.mnuPopup->addSeparator();
    ui.mnuDelete = menuAction(ui.mnuPopup, QStringLiteral("mnuDelete"), QStringLiteral("&Delete"));
    ui.mnuPopup->addSeparator();
    ui.mnuCancel = menuAction(ui.mnuPopup, QStringLiteral("mnuCancel"), QStringLiteral("Cancel Menu"));

    // Fields of the inter-department variant show only for it.
    for (QWidget *w : std::initializer_list<QWidget *>{ui.lblreceieved, ui.txtreceived, ui.lblApprovedby, ui.txtapproved,
                                                       ui.lbldepartment, ui.cbodepartment, ui.lblApartmentNO,
                                                       ui.cboApartmentNo})
        w->setVisible(false);

    connect(ui.cmdOK, &QPushButton::clicked, this, &frmStockDetails::cmdOK_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &frmStockDetails::cmdCancel_Click);
    connect(ui.mnuAdd, &QAction::triggered, this, &frmStockDetails::mnuAdd_Click);
    connect(ui.mnuEdit, &QAction::triggered, this, &frmStockDetails::mnuEdit_Click);
    connect(ui.mnuDelete, &QAction::triggered, this, &frmStockDetails::mnuDelete_Click);
    connect(ui.lvwStock, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *line) { lvwStock_ItemClick(line); });
    connect(ui.lvwStock, &QTreeWidget::currentItemChanged, this, &frmStockDetails::listCurrentChanged);
    connect(ui.Chkconfirmed, &QCheckBox::toggled, &m_draftTimer, qOverload<>(&QTimer::start));

    // The window sees every key first (F10 anywhere), the list its mouse.
    for (QWidget *w : findChildren<QWidget *>())
        if (w != ui.mnuPopup)
            w->installEventFilter(this);
}

void frmStockDetails::Form_Load()
{
    m_loadFailed = !guarded(WindowName, QStringLiteral("Form_Load "), [&] {
        ModuleState &state = moduleState();
        m_db = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
        m_db->adocon = state.gadocon;
        if (!m_gen)
            m_gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);
        if (state.gobjFormColor)
            state.gobjFormColor->Applyformcolor(this);
        SetListViewColumns(WindowName, ui.lvwStock, ListModule);

        applyTransactionType(shopApartmentCode(*m_db, state.gintShopID));
        if (const auto alias = packageAlias(*m_db))
            setWindowTitle(*alias + QStringLiteral(" Purchase Return Details"));

        if (m_request.mode == EntryMode::New) {
            ui.txtProcessDate->setText(displayDate(state.gdtProcessDate));
            ui.txtUserName->setText(shopUserName(*m_db, state.gintUserID, state.gintShopID));
        }
        keepTransactionRates(state, buildTransactionRates(connectionOf(state.gadocon), moduleSession()));
        // A stored entry gets its own user's name from the register afterwards.
        ui.txtUserName->setText(anyShopUserName(*m_db, state.gintUserID));
        moduleAudit().SaveInToTag(this);
    });
}

void frmStockDetails::applyTransactionType(const QString &apartmentCode)
{
    const ModuleState &state = moduleState();
    if (state.gstrTransType == QLatin1String("P")) {
        setWindowTitle(DefaultCaption);
        return;
    }
    if (state.gstrTransType != QLatin1String("I"))
        return;
    if (apartmentCode == QLatin1String("L")) {
        ui.lblApartmentNO->setVisible(true);
        ui.cboApartmentNo->setVisible(true);
    }
    for (QWidget *w : std::initializer_list<QWidget *>{ui.lblApprovedby, ui.lbldepartment, ui.lblreceieved,
                                                       ui.cbodepartment, ui.txtapproved, ui.txtreceived})
        w->setVisible(true);
    ui.lblPurchRetno->setText(QStringLiteral("Return No"));
    ui.lblPurchRetdate->setText(QStringLiteral("Return Date"));
    setWindowTitle(DefaultCaption);
    m_db->strTableName = QStringLiteral("adepartmentmaster");
    m_db->populateComboorList(ui.cbodepartment, QStringLiteral("DepartmentID"), QStringLiteral("DepartmentName"),
                              QStringLiteral("CompanyID=") + sqlNumber(state.gintCompanyID));
    m_db->strTableName = QStringLiteral("losapartmentdetail");
    m_db->populateComboorList(ui.cboApartmentNo, QStringLiteral("apdapartmentid"), QStringLiteral("apdapartmentNo"),
                              QStringLiteral("apdshopid = ") + sqlNumber(state.gintShopID)
                                  + QStringLiteral(" and apdcompanyid = ") + sqlNumber(state.gintCompanyID));
}

void frmStockDetails::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_firstActivation) {
        m_firstActivation = false;
        Form_Activate();
        if (m_unchanged.isNull())
            m_unchanged = encodeDraft(currentDraft());
    }
}

void frmStockDetails::Form_Activate()
{
    // What the register put in for a stored entry counts as unchanged.
    guarded(WindowName, QStringLiteral("Form_Activate"), [&] {
        moduleAudit().SaveInToTag(this);
    });
}

PurchaseReturnEntry frmStockDetails::entry() const
{
    PurchaseReturnEntry e;
    e.mode = m_request.mode;
    e.id = m_transId;
    e.commitToken = m_commitToken;
    e.number = ui.txtWriteNo->text();
    e.dateText = ui.txtProcessDate->text();
    e.userName = ui.txtUserName->text();
    e.remarks = ui.txtRemark->text();
    e.receivedBy = ui.txtreceived->text();
    e.approvedBy = ui.txtapproved->text();
    e.confirmed = ui.Chkconfirmed->isChecked();
    e.departmentId = selectedId(ui.cbodepartment);
    e.apartmentId = selectedId(ui.cboApartmentNo);
    e.lines = m_lines.lines();
    e.locations = m_lines.allocations(AllocationKind::Location);
    e.expiry = m_lines.allocations(AllocationKind::Expiry);
    e.serials = m_lines.allocations(AllocationKind::Serial);
    return e;
}

bool frmStockDetails::hasChanges() { return m_lines.changed || moduleAudit().DataChanged(this); }

void frmStockDetails::redrawLines()
{
    if (!m_gen)
        m_gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);
    m_redrawing = true;
    ui.lvwStock->clear();
    for (const ItemLine &l : m_lines.lines())
        m_gen->fnInsertListView(ui.lvwStock, 0, l.at(line::SlNo), l.at(line::Shipment), l.at(line::ItemCode),
                                l.at(line::Description), l.at(line::AvailableQty), l.at(line::ReturnQty),
                                l.at(line::ShipmentId), l.at(line::ItemId), l.at(line::CostPrice), l.at(line::Unit));
    if (const auto current = m_lines.current())
        ui.lvwStock->setCurrentItem(ui.lvwStock->topLevelItem(*current));
    m_redrawing = false;
    enableLineCommands();
}

void frmStockDetails::listCurrentChanged()
{
    if (m_redrawing)
        return;
    QTreeWidgetItem *item = ui.lvwStock->currentItem();
    m_lines.select(item ? ui.lvwStock->indexOfTopLevelItem(item) : -1);
}

void frmStockDetails::enableLineCommands()
{
    const bool hasLines = !m_lines.isEmpty();
    ui.mnuEdit->setEnabled(hasLines);
    ui.mnuDelete->setEnabled(hasLines);
}

void frmStockDetails::cmdOK_Click()
{
    // The save takes the draft away in its own transaction.
    m_draftTimer.stop();
    guarded(WindowName, QStringLiteral("cmdOK_Click "), [&] {
        const PurchaseReturnEntry current = entry();
        const ValidationResult verdict = SaveValidation(moduleSession()).run(current, messageTitle());
        if (!verdict.accepted()) {
            if (auto *control = findChild<QWidget *>(verdict.focusControl); control && !verdict.focusControl.isEmpty())
                control->setFocus(Qt::OtherFocusReason);
            return;
        }
        SaveOutcome outcome;
        {
            BusyPointer busy;
            outcome = PurchaseReturnSave(moduleConnection(), moduleSession()).save(current);
        }
        if (!outcome.saved) {
            Ui::current().message(outcome.refusal, outcome.icon, messageTitle());
            return;
        }
        m_transId = outcome.transId;
        strTransNo = outcome.transNo;
        if (outcome.audit) {
            AuditNote note = *outcome.audit;
            moduleAudit().SaveUserAuditingInfo(note.transId, note.transNo, true, note.mode, this);
        }
        ui.cmdOK->setEnabled(false);
        if (m_request.saved)
            m_request.saved(m_transId);
        done(QDialog::Accepted);
    });
}

void frmStockDetails::cmdCancel_Click() { reject(); }

void frmStockDetails::reject()
{
    if (ui.cmdOK->isEnabled() && hasChanges()) {
        const MsgAnswer answer = Ui::current().ask(QStringLiteral("Save Changes?"), MsgButtons::YesNoCancel,
                                                   MsgAnswer::Yes, MsgIcon::Question, messageTitle());
        if (answer == MsgAnswer::Cancel)
            return;
        if (answer == MsgAnswer::Yes) {
            // A successful save closes the window; a refused or failed one keeps it open.
            cmdOK_Click();
            return;
        }
    }
    // Closed without saving: what was typed is let go on purpose.
    m_draftTimer.stop();
    // A draft that cannot be removed now is offered again and can be refused then.
    guarded(WindowName, QStringLiteral("Form_Unload"), [&] { DraftStore(moduleConnection(), moduleSession()).discard(); },
            Shown::LogOnly);
    QDialog::reject();
}

void frmStockDetails::openItemWindow()
{
    const auto &factory = EditorChildWindows::current().itemDetails;
    if (!factory) {
        Ui::current().message(QStringLiteral("Item entry is not available yet."), MsgIcon::Information,
                              messageTitle());
        return;
    }
    std::unique_ptr<QDialog> window = factory(*this);
    if (!window)
        return;
    Ui::current().showModal(*window, this);
    enableLineCommands();
}

void frmStockDetails::mnuAdd_Click()
{
    guarded(WindowName, QStringLiteral("mnuAdd_Click "), [&] {
        m_lines.lineMode = LineMode::Add;
        openItemWindow();
    });
}

void frmStockDetails::mnuEdit_Click()
{
    guarded(WindowName, QStringLiteral("mnuEdit_Click "), [&] {
        // The item window reads the current line itself.
        if (!m_lines.current())
            noSelectedLine();
        m_lines.lineMode = LineMode::Edit;
        openItemWindow();
    });
}

void frmStockDetails::mnuDelete_Click()
{
    guarded(WindowName, QStringLiteral("mnuDelete_Click  "), [&] {
        if (!ui.cmdOK->isEnabled())
            return;
        const auto selected = m_lines.current();
        if (!selected)
            noSelectedLine();
        const MsgAnswer answer = Ui::current().ask(QStringLiteral("Are you sure you want to delete ") + QStringLiteral("\r")
                                                       + m_lines.at(*selected).at(line::Description) + QStringLiteral(" ?"),
                                                   MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question, messageTitle());
        if (answer != MsgAnswer::Yes)
            return;
        m_lines.removeAllocations(m_lines.itemIdAt(*selected));
        m_lines.removeAt(*selected);
        m_lines.changed = true;
    });
}

void frmStockDetails::lvwStock_ItemClick(QTreeWidgetItem *line)
{
    guarded(WindowName, QStringLiteral("lvwStock_ItemClick"), [&] {
        if (!line)
            return;
        for (int column : {line::AvailableQty, line::ReturnQty}) {
            const QString text = line->text(column);
            if (!text.isEmpty())
                line->setToolTip(column, formatNumber(val(text), fmt::Grouped3));
        }
        line->setToolTip(line::Description, line->text(line::Description));
    });
}

void frmStockDetails::lvwStock_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (!ui.cmdOK->isEnabled()) {
        ui.mnuAdd->setEnabled(false);
        ui.mnuEdit->setEnabled(false);
        ui.mnuDelete->setEnabled(false);
        return;
    }
    enableLineCommands();
    if (button == Qt::RightButton) {
        ui.mnuAdd->setEnabled(true);
        ui.mnuPopup->popup(globalPos);
    }
}

void frmStockDetails::lvwStock_DblClick()
{
    // A read-only entry's lines can still be looked at; it takes no new ones here (F10
    // still opens the item window on an empty list).
    if (!m_lines.isEmpty())
        mnuEdit_Click();
    else if (ui.cmdOK->isEnabled())
        mnuAdd_Click();
}

void frmStockDetails::F10_KeyDown()
{
    if (!m_lines.isEmpty())
        mnuEdit_Click();
    else
        mnuAdd_Click();
}

void frmStockDetails::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10) {
        F10_KeyDown();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmStockDetails::isHeaderField(const QObject *watched) const
{
    for (const QWidget *field : std::initializer_list<const QWidget *>{
             ui.txtProcessDate, ui.txtUserName, ui.txtRemark, ui.txtreceived, ui.txtapproved, ui.cbodepartment,
             ui.cboApartmentNo, ui.Chkconfirmed})
        if (watched == field)
            return true;
    return false;
}

EntryDraft frmStockDetails::currentDraft() const
{
    EntryDraft draft;
    draft.entry = entry();
    draft.entry.commitToken.clear();
    draft.storedVersion = m_storedVersion;
    return draft;
}

void frmStockDetails::writeDraft()
{
    // Nothing to keep for a return that cannot be saved.
    if (!ui.cmdOK->isEnabled())
        return;
    const EntryDraft draft = currentDraft();
    const QByteArray body = encodeDraft(draft);
    if (body == m_lastDraft)
        return;
    // The clerk goes on working; a lost server is told at the next command that needs it.
    guarded(WindowName, QStringLiteral("writeDraft"), [&] {
        DraftStore store(moduleConnection(), moduleSession());
        // Changed back to what was loaded: nothing is left to lose.
        if (body == m_unchanged)
            store.discard();
        else
            store.write(static_cast<int>(draft.entry.lines.size()), body);
        m_lastDraft = body;
    }, Shown::LogOnly);
}

bool frmStockDetails::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && isHeaderField(watched))
        m_draftTimer.start();
    if (watched == ui.lvwStock->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            lvwStock_MouseDown(mouse->button(), mouse->globalPosition().toPoint());
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            lvwStock_DblClick();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F10) {
        F10_KeyDown();
        return true; // the key is spent here
    }
    if (watched == ui.lvwStock) {
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        if (isEnter(key) && ctrl) {
            if (ui.cmdOK->isEnabled())
                mnuAdd_Click();
            return true;
        }
        if (isEnter(key)) {
            lvwStock_DblClick();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            if (!m_lines.isEmpty())
                mnuDelete_Click();
            return true;
        }
        return false;
    }
    // The buttons are not the window's default (Enter in a field must not save), so
    // Enter on a focused button presses it.
    if (auto *button = qobject_cast<QPushButton *>(watched); button && isEnter(key)) {
        button->click();
        return true;
    }
    if ((watched == ui.txtUserName || watched == ui.txtRemark) && isEnter(key)) {
        EnterToTab(13, static_cast<QWidget *>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace shop

namespace shop {

namespace {

// One allocation table: a table that cannot be read is reported to the user and the
// rest of the entry still loads.
void loadAllocations(TextTable &table, const std::function<QList<QStringList>()> &read)
{
    try {
        for (const QStringList &cells : read())
            table.addRow(cells);
    } catch (...) {
        Ui::current().message(caughtErrorText(QStringLiteral("Internal error")), MsgIcon::Critical, messageTitle());
    }
}

} // namespace

void frmStockDetails::loadEntry()
{
    const ModuleState &state = moduleState();
    const Session session = moduleSession();
    Connection &con = moduleConnection();
    const TransactionId id = m_request.id;
    const RegisterListing &listing = m_request.listing;
    m_transId = id;

    const StoredHeader header = readStoredHeader(con, session, id);
    m_storedVersion = header.version;
    ui.txtWriteNo->setText(header.number);
    ui.txtProcessDate->setText(header.dateText);
    ui.txtUserName->setText(header.userName);
    ui.txtRemark->setText(header.remarks);
    ui.Chkconfirmed->setChecked(header.confirmed);
    if (header.confirmed)
        ui.cmdOK->setEnabled(false);
    if (state.gstrTransType == QLatin1String("I")) {
        ui.txtapproved->setText(header.approvedBy);
        ui.txtreceived->setText(header.receivedBy);
    }
    if (!m_gen)
        m_gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);
    if (!header.otherDepartmentId.isNull())
        m_gen->SelectComboItemByValue(ui.cbodepartment, header.otherDepartmentId);
    if (!header.apartmentId.isNull())
        m_gen->SelectComboItemByValue(ui.cboApartmentNo, header.apartmentId);

    m_lines.clear();
    for (const QStringList &l : readStoredLines(con, session, id, StoredFlags{listing.cancelled, listing.confirmed}))
        m_lines.add(l);
    if (!m_lines.isEmpty())
        m_lines.select(0);

    m_lines.clearAllocations();
    const auto load = [&](TextTable &table, IssueLedger ledger) {
        loadAllocations(table, [&] { return readStoredAllocations(con, session, id, ledger); });
    };
    if (fnLocationArrangement(session.shopId))
        load(flxLocations(), IssueLedger::Location);
    load(flxexpiry(), IssueLedger::Expiry);
    load(flxserial(), IssueLedger::Serial);

    if (listing.cancelled)
        ui.cmdOK->setEnabled(false);
    if (listing.posted) {
        ui.cmdOK->setEnabled(false);
        Ui::current().message(QStringLiteral("Entry Posted,Cannot Modify"), MsgIcon::Information, QString());
    }
    if (header.posted) {
        ui.cmdOK->setEnabled(false);
        Ui::current().message(QStringLiteral("Entry posted to journal"), MsgIcon::Information, messageTitle());
    }
    if (listing.date.isValid() && listing.date < state.gdtProcessDate && !listing.mayChangeBackDated)
        ui.cmdOK->setEnabled(false);

    m_lines.changed = false;
    moduleAudit().SaveInToTag(this);
}

void frmStockDetails::restoreDraft()
{
    m_unchanged = encodeDraft(currentDraft());
    if (!m_request.draft)
        return;
    const EntryDraft &draft = *m_request.draft;
    const PurchaseReturnEntry &e = draft.entry;
    // The number is the stored return's or comes with the save; a field the draft
    // leaves empty keeps what loading put in.
    for (const auto &[field, text] : {std::pair{ui.txtProcessDate, &e.dateText}, std::pair{ui.txtUserName, &e.userName}})
        if (!text->isEmpty())
            field->setText(*text);
    if (e.mode == EntryMode::Stored)
        m_storedVersion = draft.storedVersion;
    ui.txtRemark->setText(e.remarks);
    ui.txtreceived->setText(e.receivedBy);
    ui.txtapproved->setText(e.approvedBy);
    ui.Chkconfirmed->setChecked(e.confirmed);
    if (!m_gen)
        m_gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);
    if (e.departmentId)
        m_gen->SelectComboItemByValue(ui.cbodepartment, *e.departmentId);
    if (e.apartmentId)
        m_gen->SelectComboItemByValue(ui.cboApartmentNo, *e.apartmentId);
    m_lines.clear();
    m_lines.clearAllocations();
    for (const auto &[kind, table] : {std::pair{AllocationKind::Location, &e.locations},
                                      std::pair{AllocationKind::Expiry, &e.expiry},
                                      std::pair{AllocationKind::Serial, &e.serials}})
        for (int r = 1; r < table->rowCount(); ++r)
            m_lines.allocations(kind).addRow(table->row(r));
    for (const ItemLine &l : e.lines)
        m_lines.add(l);
    if (!m_lines.isEmpty())
        m_lines.select(0);
    m_lines.changed = true;
    m_lastDraft = encodeDraft(draft);
}

} // namespace shop
