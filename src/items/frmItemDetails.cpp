#include "items/frmItemDetails.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/db/SqlText.h"
#include <rtnmod08/ComponentRegistry.h>
#include "common/host/ErrorReporting.h"
#include <rtnmod08/HostComponents.h>
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/routines/Lookups.h"
#include "common/ui/AllocationGrid.h"
#include "common/ui/KeyRuleValidator.h"
#include "common/ui/NamedWidget.h"
#include "common/ui/Twips.h"
#include "common/ui/Ui.h"
#include "editor/EntryLines.h"
#include "items/AllocationPolicies.h"
#include "items/AllocationTransfer.h"
#include "items/BatchProposal.h"
#include "items/ItemIdentification.h"
#include "items/ItemLineData.h"
#include "items/LocationDistribution.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <cmath>

namespace shop {

namespace {

const QString WindowName = QStringLiteral("frmItemDetails");
const QString WriteOffTooltipFormat = QStringLiteral("###,###,##0.000#####");
const QString IntegerOnlyMessage = QStringLiteral("Only Integer Quantity is allowed");
const QString ItemExistsMessage = QStringLiteral("Item already exists");

const QString &messageTitle() { return moduleState().gstrMessageTitle; }

void say(const QString &text, MsgIcon icon = MsgIcon::Information) { Ui::current().message(text, icon, messageTitle()); }

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

} // namespace

frmItemDetails::frmItemDetails(EntryLines &lines, TransactionId editedEntry, QWidget *parent)
    : QDialog(parent), m_lines(lines), m_editedEntry(editedEntry),
      m_context(std::make_unique<AllocationContext>(connectionOf(moduleState().gadocon)))
{
    setObjectName(WindowName);
    m_locationPolicy = std::make_unique<LocationPolicy>(*m_context);
    m_expiryPolicy = std::make_unique<ExpiryPolicy>(*m_context);
    m_serialPolicy = std::make_unique<SerialPolicy>(*m_context);
    buildWindow();
    wireGrids();
}

frmItemDetails::~frmItemDetails() = default;

void frmItemDetails::buildWindow()
{
    ui.setupUi(this);
    ui.txtWriteQty->setValidator(new KeyRuleValidator(
        [this](QLineEdit &box, QChar key) { return writeOffChar(box, key); }, ui.txtWriteQty));

    m_locations = new AllocationGrid(*m_locationPolicy, *ui.flxLocations);
    m_expiry = new AllocationGrid(*m_expiryPolicy, *ui.flxexpiry);
    m_serials = new AllocationGrid(*m_serialPolicy, *ui.flxserialno);
    for (AllocationGrid *grid : {m_locations, m_expiry, m_serials}) {
        grid->grid().setFixedHeight(twipsToPixels(2000)); // the header and five rows
        grid->grid().setMinimumWidth(580);
        grid->setMessageTitle(messageTitle());
        grid->setLineQuantity([this] { return valDecimal(ui.txtWriteQty->text()); });
        grid->setErrorTrap([](const QString &routine) { TrackCaughtError(WindowName, routine); });
    }

    ui.mnuPopup = namedWidget<QMenu>(this, QStringLiteral("mnuPopup"));
    ui.mnuPopup->setTitle(QStringLiteral("popupmenu"));
    ui.mnuDelete = ui.mnuPopup->addAction(QStringLiteral("Delete"));
    ui.mnuDelete->setObjectName(QStringLiteral("mnuDelete"));

    connect(ui.cboItem, &QComboBox::activated, this, [this] { cboItem_Click(); });
    connect(ui.cmdbarcode, &QPushButton::clicked, this, &frmItemDetails::cmdbarcode_Click);
    connect(ui.cmdOK, &QPushButton::clicked, this, &frmItemDetails::cmdOK_Click);
    connect(ui.cmdCancel, &QPushButton::clicked, this, &frmItemDetails::cmdCancel_Click);
    connect(ui.cmdFirst, &QPushButton::clicked, this, &frmItemDetails::cmdFirst_Click);
    connect(ui.cmdPrev, &QPushButton::clicked, this, &frmItemDetails::cmdPrev_Click);
    connect(ui.cmdNext, &QPushButton::clicked, this, &frmItemDetails::cmdNext_Click);
    connect(ui.cmdLast, &QPushButton::clicked, this, &frmItemDetails::cmdLast_Click);
    connect(ui.mnuDelete, &QAction::triggered, this, &frmItemDetails::mnuDelete_Click);
    connect(ui.txtWriteQty, &QLineEdit::textChanged, this, &frmItemDetails::txtWriteQty_Change);
    connect(ui.txtQuantity, &QLineEdit::textChanged, this, [this](const QString &text) {
        ui.txtQuantity->setToolTip(text.isEmpty() ? QString() : formatNumber(val(text), WriteOffTooltipFormat));
    });

    // The window sees the keys first.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
    arrangeGrids(false, false);
}

void frmItemDetails::wireGrids()
{
    const auto grids = {m_locations, m_expiry, m_serials};
    for (AllocationGrid *grid : grids)
        connect(grid, &AllocationGrid::popupRequested, this, [this, grid](const QPoint &at) {
            m_popupSource = grid;
            ui.mnuPopup->popup(at);
        });
    connect(m_locations, &AllocationGrid::editedByHand, this, [this] { m_splitAutomatically = false; });
    connect(m_expiry, &AllocationGrid::editedByHand, this, [this] { m_batchesProposed = false; });

    // Where Enter and Shift+Enter leave each grid to.
    const auto toCmdOK = [this] { ui.cmdOK->setFocus(Qt::OtherFocusReason); };
    const auto toWriteQty = [this] {
        ui.txtWriteQty->setFocus(Qt::OtherFocusReason);
        ui.txtWriteQty->selectAll();
    };
    connect(m_locations, &AllocationGrid::leftForward, this, [this, toCmdOK] {
        if (!m_expiry->grid().isHidden())
            m_expiry->enterGrid();
        else if (!m_serials->grid().isHidden())
            m_serials->enterGrid();
        else
            toCmdOK();
    });
    connect(m_locations, &AllocationGrid::leftBackward, this, toWriteQty);
    connect(m_expiry, &AllocationGrid::leftForward, this, [this, toCmdOK] {
        if (!m_serials->grid().isHidden())
            m_serials->enterGrid();
        else
            toCmdOK();
    });
    connect(m_expiry, &AllocationGrid::leftBackward, this, [this, toWriteQty] {
        if (blnLocationWise)
            VisibleFun(QStringLiteral("L"));
        else
            toWriteQty();
    });
    connect(m_serials, &AllocationGrid::leftForward, this, toCmdOK);
    connect(m_serials, &AllocationGrid::leftBackward, this, [this, toWriteQty] {
        if (!m_expiry->grid().isHidden())
            VisibleFun(QStringLiteral("E"));
        else if (blnLocationWise)
            VisibleFun(QStringLiteral("L"));
        else
            toWriteQty();
    });
}

void frmItemDetails::Form_Load()
{
    guarded(WindowName, QStringLiteral("Form_Load "), [&] {
        ModuleState &state = moduleState();
        m_locations->combo().setToolTip(QStringLiteral("Please enter write-off quantity and press Enter"));
        m_db = newCommonDB();
        if (state.gobjFormColor)
            state.gobjFormColor->Applyformcolor(this);
        ui.lblCaption->setText(QStringLiteral("Purchase Return Qty"));
        m_transId = state.gstrMode != QLatin1String("N") ? m_editedEntry : TransactionId();
        m_data = std::make_unique<ItemLineData>(connectionOf(state.gadocon), moduleSession(), m_transId);
        m_context->owner = m_data->owner(0);
        m_context->processDate = m_data->session().processDate;
        enableNavigation(std::nullopt);
        setProperty("tag", QStringLiteral("Loaded"));

        blnLocationWise = fnLocationArrangement(toInt16(QVariant(state.gintShopID)));
        if (blnLocationWise)
            fillShopLocations();

        const bool editing = m_lines.lineMode == LineMode::Edit;
        ui.cmdbarcode->setEnabled(!editing);
        if (editing && m_lines.current()) {
            showLine(*m_lines.current(), QStringLiteral("Form_Load "));
            for (QWidget *w : std::initializer_list<QWidget *>{ui.cboItem, ui.txtBarcode, ui.cmdbarcode})
                w->setEnabled(false);
        } else {
            arrangeGrids(false, false);
        }
        moduleAudit().SaveInToTag(this);
    });
}

// --- The item --------------------------------------------------------------------------

qint32 frmItemDetails::currentItemId() const
{
    return ui.cboItem->currentIndex() < 0 ? 0 : toInt32(ui.cboItem->currentData());
}

void frmItemDetails::chooseItem(const QString &description, qint32 itemId)
{
    ui.cboItem->clear();
    ui.cboItem->addItem(description, itemId);
    ui.cboItem->setCurrentIndex(0);
    cboItem_Click();
}

void frmItemDetails::cboItem_Click()
{
    guarded(WindowName, QStringLiteral("cboItem_Click "), [&] {
        const qint32 itemId = currentItemId();
        if (ui.cboItem->currentIndex() < 0)
            return;
        m_context->owner.itemId = itemId;
        m_batchesProposed = false;
        // A scan or fetch has read the item already; any other selection reads it now.
        const IdentifiedItem item = m_scan && m_scan->item.itemId == itemId ? m_scan->item : data().item(itemId);
        const ItemFacts &facts = item.facts;
        blnHasExpiry = facts.hasExpiry;
        blnHasSerialNo = facts.hasSerialNo;
        m_context->serialsMayRepeat = facts.serialsMayRepeat;
        m_serials->quantityBox().setEnabled(m_context->serialsMayRepeat);
        if (blnHasExpiry) {
            m_expiry->hideEditors();
            FillExpirydates(itemId, Decimal(), m_transId);
        }
        if (blnHasSerialNo)
            FillSerial(itemId, Decimal(), m_transId);
        arrangeGrids(blnHasExpiry, blnHasSerialNo);
        ui.txtQuantity->setText(quantityText(data().available(item)));
        strItemCode = facts.code;
    });
}

ItemLineData &frmItemDetails::data()
{
    if (!m_data)
        m_data = std::make_unique<ItemLineData>(connectionOf(moduleState().gadocon), moduleSession(), m_transId);
    return *m_data;
}



void frmItemDetails::txtBarcode_KeyPress()
{
    guarded(WindowName, QStringLiteral("txtBarcode_KeyPress "), [&] {
        for (AllocationGrid *grid : {m_locations, m_expiry, m_serials})
            grid->setText(1, 0, QStringLiteral("1"));
        const QString code = ui.txtBarcode->text().trimmed();
        if (code.isEmpty())
            return;
        const auto found = data().identify(code);
        if (!found) {
            say(QStringLiteral("Scan valid barcode"));
            ui.txtBarcode->setFocus(Qt::OtherFocusReason);
            ui.txtBarcode->selectAll(); // the next scan replaces the code

            return;
        }
        DisplayBarcodeItemDetails(*found);
        if (!ui.txtQuantity->text().isEmpty() && ui.cboItem->currentIndex() >= 0) {
            ui.txtWriteQty->setFocus(Qt::TabFocusReason);
            ui.txtWriteQty->selectAll();
        }
    });
}

void frmItemDetails::DisplayBarcodeItemDetails(const IdentifiedItem &item)
{
    const qint32 itemId = item.itemId;
    if (!item.description) {
        ui.cboItem->clear();
        ui.txtBarcode->clear();
        say(QStringLiteral("No Stock Available For This Item."));
        return;
    }
    // The lists the scan fills are read together, in one statement; a later fill, or a
    // scan that stopped half-way, reads afresh.
    BalanceOwner owner = m_context->owner;
    owner.itemId = itemId;
    owner.excluded = m_transId;
    m_scan = ScanRead{item, m_context->balances.lists(owner, {blnLocationWise, item.facts.hasExpiry, item.facts.hasSerialNo})};
    const auto done = qScopeGuard([this] { m_scan.reset(); });
    chooseItem(*item.description, itemId);
    // The batch and serial lists were built by the item's selection; the locations
    // depend on the quantity already typed.
    if (blnLocationWise) {
        FillLocations(itemId, valDecimal(ui.txtWriteQty->text()), m_transId);
        proposeBatches(valDecimal(ui.txtWriteQty->text()));
    }
}

void frmItemDetails::proposeBatches(Decimal quantity)
{
    // The clerk's own rows stand; an empty grid or the last proposal follows the quantity.
    if (!blnHasExpiry || (!m_batchesProposed && !m_expiry->filledRows().isEmpty()))
        return;
    m_expiry->setDataRows(shop::proposeBatches(m_batches, quantity));
    m_batchesProposed = true;
}

void frmItemDetails::cmdbarcode_Click()
{
    QuickItemFetch();
    ui.cboItem->setFocus(Qt::OtherFocusReason);
}

void frmItemDetails::QuickItemFetch()
{
    guarded(WindowName, QStringLiteral("QuickItemFetch"), [&] {
        ModuleState &state = moduleState();
        const ItemFetch f = data().fetch();
        const auto fetch = ComponentRegistry::create<clsFetch>(progid::Fetch);
        fetch->adocon = state.gadocon;
        fetch->strMsgboxTitle = state.gstrMessageTitle;
        fetch->lngUserID = state.gintUserID;
        fetch->strQuery = f.statement;
        fetch->setRecordSet(state.grsFetch);
        fetch->setFieldNames(f.fields);
        fetch->setFieldCaptions(f.captions);
        fetch->setFieldWidths(f.widths);
        fetch->setDefaultFetchField(f.defaultField);
        fetch->setInterfaceCaption(QStringLiteral("Item Fetch"));
        fetch->Show();
        Ui::current().processEvents();
        if (fetch->getCancelledStatus() || !state.grsFetch || state.grsFetch->eof())
            return;
        // A fetched item is loaded as a scanned one is, balances and split included.
        const qint32 itemId = toInt32(state.grsFetch->field(QStringLiteral("ItemID")));
        DisplayBarcodeItemDetails(data().item(itemId));
    });
}

// --- Balances --------------------------------------------------------------------------

void frmItemDetails::fillShopLocations()
{
    m_db->strTableName = QStringLiteral("losLocation");
    m_db->populateComboorList(&m_locations->combo(), QStringLiteral("lLocationId"), QStringLiteral("lLocationName"),
                              QStringLiteral("lShopId = ") + sqlNumber(moduleState().gintShopID));
    m_locations->combo().setToolTip(QString());
}

template <typename List, typename Read>
List frmItemDetails::scanned(std::optional<List> ItemBalances::*list, const BalanceOwner &owner, Read &&read)
{
    if (m_scan && m_scan->item.itemId == owner.itemId && owner.excluded == m_transId) {
        if (const std::optional<List> &kept = m_scan->lists.*list)
            return *kept;
    }
    return read();
}

void frmItemDetails::FillLocations(qint32 itemId, Decimal quantity, TransactionId transId)
{
    BalanceOwner owner = m_context->owner;
    owner.itemId = itemId;
    owner.excluded = transId;
    const bool adding = m_lines.lineMode == LineMode::Add;
    const bool split = adding && !transId.isStored();
    if (split)
        m_locations->reset();
    const QList<LocationBalance> balances = scanned(&ItemBalances::locations, owner, [&] { return m_context->balances.locations(owner); });
    QList<AllocationEntry> entries;
    for (const LocationBalance &b : balances)
        entries << AllocationEntry{b.locationName.trimmed(), b.locationId, {}};
    m_locations->setEntries(entries);
    if (split) {
        m_locations->setDataRows(distributeOverLocations(balances, quantity, QString::number(itemId)));
        m_splitAutomatically = true;
    }
    // Without stock anywhere the combo offers every location of the shop.
    if (entries.isEmpty())
        fillShopLocations();
    else if (!m_locationTipCleared)
        m_locations->combo().setToolTip(QString());
    m_locationTipCleared = true;
}

void frmItemDetails::FillExpirydates(qint32 itemId, Decimal, TransactionId transId)
{
    if (!blnHasExpiry)
        return;
    BalanceOwner owner = m_context->owner;
    owner.itemId = itemId;
    owner.excluded = transId;
    if (!transId.isStored() && m_lines.lineMode == LineMode::Add)
        m_expiry->reset();
    m_batches = scanned(&ItemBalances::batches, owner, [&] { return m_context->balances.batches(owner); });
    QList<AllocationEntry> entries;
    for (const BatchBalance &b : m_batches)
        entries << AllocationEntry{b.batchNo, {}, isExpired(b.expiryDate, m_context->processDate) ? QStringLiteral("expired") : QString()};
    m_expiry->setEntries(entries);
}

void frmItemDetails::FillSerial(qint32 itemId, Decimal, TransactionId transId)
{
    BalanceOwner owner = m_context->owner;
    owner.itemId = itemId;
    owner.excluded = transId;
    if (!transId.isStored() && m_lines.lineMode == LineMode::Add)
        m_serials->reset();
    const QList<SerialBalance> serials = scanned(&ItemBalances::serials, owner, [&] { return m_context->balances.serials(owner); });
    QList<AllocationEntry> entries;
    for (const SerialBalance &s : serials)
        entries << AllocationEntry{s.serialNo, {}, {}};
    m_serials->setEntries(entries);
    if (serials.isEmpty())
        say(QStringLiteral("Serial No not available ") + QStringLiteral("\n")
            + QStringLiteral("Do Serial No verification before writing off this item.   "));
}

// --- The grids -------------------------------------------------------------------------

void frmItemDetails::arrangeGrids(bool expiry, bool serial)
{
    const bool shown[] = {blnLocationWise, expiry, serial};
    const std::pair<QLabel *, AllocationGrid *> grids[] = {
        {ui.lblLocations, m_locations}, {ui.lblExpiry, m_expiry}, {ui.lblSerial, m_serials}};
    for (int i = 0; i < 3; ++i) {
        if (!shown[i])
            grids[i].second->hideEditors();
        grids[i].first->setVisible(shown[i]);
        grids[i].second->grid().setVisible(shown[i]);
    }
}

void frmItemDetails::HideGridControls()
{
    m_locations->hideEditors();
    m_expiry->hideEditors();
}

void frmItemDetails::VisibleFun(const QString &kind)
{
    if (kind == QLatin1String("L"))
        m_locations->openEditor();
    else if (kind == QLatin1String("E"))
        m_expiry->openEditor();
    else
        HideGridControls();
}

void frmItemDetails::mnuDelete_Click()
{
    guarded(WindowName, QStringLiteral("mnuDelete_Click"), [&] {
        if (m_popupSource)
            m_popupSource->deleteCurrentRow();
    });
}

// --- The write-off quantity ------------------------------------------------------------

bool frmItemDetails::writeOffKey(const QString &text)
{
    if (text == QLatin1String(".") && moduleState().gblnIntegerQuantity) {
        say(IntegerOnlyMessage);
        return false;
    }
    if (text.size() != 1 || !text.at(0).isPrint())
        return true;
    return writeOffChar(*ui.txtWriteQty, text.at(0));
}

bool frmItemDetails::writeOffChar(QLineEdit &box, QChar key) const
{
    if (key == QLatin1Char('.') && moduleState().gblnIntegerQuantity)
        return false;
    int code = key.unicode();
    m_context->gen->TextValidateNum(&box, code, 20, 4);
    return code != 0;
}

void frmItemDetails::txtWriteQty_Change()
{
    const QString text = ui.txtWriteQty->text();
    if (text == QLatin1String("-")) {
        ui.txtWriteQty->clear();
        return;
    }
    if (text.startsWith(QLatin1Char('-'))) {
        ui.txtWriteQty->setText(text.mid(1));
        return;
    }
    ui.txtWriteQty->setToolTip(text.isEmpty() ? QString() : formatNumber(val(text), WriteOffTooltipFormat));
}

void frmItemDetails::txtWriteQty_Enter()
{
    guarded(WindowName, QStringLiteral("txtWriteQty_KeyPress"), [&] {
        moveOnFromWriteOff();
    });
}

void frmItemDetails::moveOnFromWriteOff()
{
    const std::optional<Decimal> quantity = writeOffQuantity();
    if (quantity && *quantity <= Decimal())
        return;
    if (!quantity || *quantity > valDecimal(ui.txtQuantity->text())) {
        say(QStringLiteral("Writeoff quantity should not exceed  ") + ui.txtQuantity->text() + QStringLiteral(".   "));
        ui.txtWriteQty->selectAll();
        return;
    }
    ui.txtWriteQty->setProperty("tag", ui.txtWriteQty->text());
    // A split nobody has touched yet follows the quantity the clerk settled on.
    if (blnLocationWise && m_splitAutomatically && currentItemId() != 0)
        FillLocations(currentItemId(), *quantity, m_transId);
    proposeBatches(*quantity);
    if (blnLocationWise)
        m_locations->enterGrid();
    else if (!m_expiry->grid().isHidden())
        m_expiry->enterGrid();
    else if (!m_serials->grid().isHidden())
        m_serials->enterGrid();
    else
        Ui::current().focusNext(ui.txtWriteQty);
}

// --- OK --------------------------------------------------------------------------------

std::optional<Decimal> frmItemDetails::writeOffQuantity() const
{
    try {
        return valDecimal(ui.txtWriteQty->text());
    } catch (const ModuleError &error) {
        if (error.number() != ModuleError::Overflow)
            throw;
        return std::nullopt;
    }
}

bool frmItemDetails::lineIsValid()
{
    const QString writeOff = ui.txtWriteQty->text();
    const std::optional<Decimal> exact = writeOffQuantity();
    const auto focusWriteOff = [this] {
        if (ui.txtWriteQty->isVisible() && ui.txtWriteQty->isEnabled())
            ui.txtWriteQty->setFocus(Qt::OtherFocusReason);
    };
    if (moduleState().gblnIntegerQuantity && writeOff.contains(QLatin1Char('.'))) {
        say(IntegerOnlyMessage);
        focusWriteOff();
        return false;
    }
    if (!m_serials->grid().isHidden() && SerialPolicy::hasSameSerialTwice(m_serials->rows())) {
        say(QStringLiteral("Serial Number duplication found."));
        m_serials->openEditor();
        return false;
    }
    if (ui.cboItem->count() == 0) {
        say(QStringLiteral("No Item Selected."));
        return false;
    }
    if (ui.cboItem->currentIndex() < 0) {
        say(QStringLiteral("Select item.   "));
        ui.cboItem->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (exact && exact->isZero()) {
        say(QStringLiteral("Enter purchase return quantity.   "));
        focusWriteOff();
        return false;
    }
    if (!exact || *exact > valDecimal(ui.txtQuantity->text())) {
        say(QStringLiteral("Quantity should not exceed  ") + ui.txtQuantity->text() + QStringLiteral(".   "));
        ui.txtWriteQty->selectAll();
        return false;
    }
    const Decimal quantity = *exact;
    if (blnLocationWise && !m_locations->grid().isHidden() && m_locations->sum() != quantity) {
        say(QStringLiteral("The sum of  Location Quantity and  Write Off quantity must be equal.   "), MsgIcon::Exclamation);
        VisibleFun(QStringLiteral("L"));
        return false;
    }
    const std::pair<AllocationGrid *, AllocationPolicy *> checks[] = {
        {m_locations, m_locationPolicy.get()}, {m_expiry, m_expiryPolicy.get()}, {m_serials, m_serialPolicy.get()}};
    for (const auto &[grid, policy] : checks) {
        if (grid->grid().isHidden())
            continue;
        if (const auto refusal = policy->checkRows(grid->rows(), quantity)) {
            say(refusal->message, refusal->icon);
            grid->openEditor();
            return false;
        }
    }
    return true;
}

QStringList frmItemDetails::lineCells()
{
    const qint32 itemId = currentItemId();
    QStringList cells(line::ColumnCount);
    cells[line::SlNo] = QString::number(intSlNo);
    cells[line::Shipment] = QStringLiteral("1");
    cells[line::ItemCode] = strItemCode;
    cells[line::Description] = ui.cboItem->currentText();
    cells[line::AvailableQty] = formatNumber(ui.txtQuantity->text(), fmt::Quantity);
    cells[line::ReturnQty] = ui.txtWriteQty->text();
    cells[line::ShipmentId] = QString::number(fnDefaultShipmentId());
    cells[line::ItemId] = QString::number(itemId);
    cells[line::CostPrice] = data().costPrice(itemId);
    cells[line::Unit] = fnItemUnitCode(itemId);
    return cells;
}

void frmItemDetails::storeAllocations(const QString &itemId)
{
    if (blnLocationWise && !m_locations->grid().isHidden())
        storeAllocationRows(m_lines, AllocationKind::Location, itemId, m_locations->filledRows());
    if (!m_expiry->grid().isHidden())
        storeAllocationRows(m_lines, AllocationKind::Expiry, itemId, m_expiry->filledRows());
    if (blnHasSerialNo)
        storeAllocationRows(m_lines, AllocationKind::Serial, itemId, m_serials->filledRows());
}

void frmItemDetails::cmdOK_Click()
{
    guarded(WindowName, QStringLiteral("cmdok_Click"), [&] {
        if (!lineIsValid())
            return;
        const QString itemId = QString::number(currentItemId());
        const bool changedHere = moduleAudit().DataChanged(this);
        if (m_lines.lineMode != LineMode::Edit) {
            intSlNo = m_lines.count() + 1;
            if (m_lines.findItem(itemId)) {
                say(ItemExistsMessage);
                resetForNextItem();
                return;
            }
            m_lines.add(lineCells());
            storeAllocations(itemId);
            if (changedHere)
                m_lines.changed = true;
            resetForNextItem();
            enableNavigation(std::nullopt);
            return;
        }

        const auto position = m_lines.current();
        if (!position)
            return;
        if (const auto holder = m_lines.findItem(itemId); holder && *holder != *position) {
            say(ItemExistsMessage);
            ui.cboItem->setFocus(Qt::OtherFocusReason);
            return;
        }
        intSlNo = *position + 1;
        m_lines.replaceAt(*position, lineCells());
        storeAllocations(itemId);
        if (changedHere)
            m_lines.changed = true;
        if (*position == m_lines.count() - 1)
            accept();
        else
            showLine(*position + 1, QStringLiteral("cmdnext_Click"));
    });
}

void frmItemDetails::resetForNextItem()
{
    ui.cboItem->setCurrentIndex(-1);
    ui.cboItem->clear();
    ui.txtQuantity->clear();
    ui.txtWriteQty->clear();
    for (AllocationGrid *grid : {m_locations, m_expiry, m_serials})
        grid->reset();
    m_splitAutomatically = false;
    m_batchesProposed = false;
    blnHasExpiry = false;
    blnHasSerialNo = false;
    m_context->owner.itemId = 0;
    ui.txtBarcode->clear();
    arrangeGrids(false, false);
    if (ui.txtBarcode->isEnabled())
        ui.txtBarcode->setFocus(Qt::OtherFocusReason);
    moduleAudit().SaveInToTag(this);
}

void frmItemDetails::cmdCancel_Click() { reject(); }

// --- Stepping through the lines --------------------------------------------------------

void frmItemDetails::enableNavigation(std::optional<int> position)
{
    const int last = m_lines.count() - 1;
    // Without a line on screen all four go on once there are two lines to step through.
    const bool atFirst = position && *position == 0;
    const bool atLast = position && *position == last;
    const bool any = last >= 1;
    ui.cmdFirst->setEnabled(any && !atFirst);
    ui.cmdPrev->setEnabled(any && !atFirst);
    ui.cmdNext->setEnabled(any && !atLast);
    ui.cmdLast->setEnabled(any && !atLast);
}

void frmItemDetails::loadAllocationsOfLine(qint32 itemId)
{
    const QString id = QString::number(itemId);
    if (blnLocationWise) {
        m_locations->setDataRows(allocationRowsOfItem(m_lines, AllocationKind::Location, id));
        HideGridControls();
    }
    m_expiry->setDataRows(allocationRowsOfItem(m_lines, AllocationKind::Expiry, id));
    m_serials->setDataRows(allocationRowsOfItem(m_lines, AllocationKind::Serial, id));
}

void frmItemDetails::showLine(int position, const QString &routine)
{
    guarded(WindowName, routine, [&] {
        if (position < 0 || position >= m_lines.count())
            return;
        const ItemLine line = m_lines.at(position);
        const qint32 itemId = toInt32(valDecimal(line.value(line::ItemId)));
        chooseItem(line.value(line::Description), itemId);
        // The available figure is the one just worked out: for a stored return it
        // includes what the return itself took.
        ui.txtWriteQty->setText(line.value(line::ReturnQty));
        m_lines.select(position);
        enableNavigation(position);
        ui.txtWriteQty->selectAll();
        if (m_lines.lineMode == LineMode::Edit)
            loadAllocationsOfLine(itemId);
        moduleAudit().SaveInToTag(this);
        ui.txtWriteQty->setFocus(Qt::OtherFocusReason);
    });
}

void frmItemDetails::cmdFirst_Click() { showLine(0, QStringLiteral("cmdFirst_Click")); }

void frmItemDetails::cmdPrev_Click() { showLine(m_lines.current().value_or(0) - 1, QStringLiteral("cmdprev_Click")); }

void frmItemDetails::cmdNext_Click() { showLine(m_lines.current().value_or(-1) + 1, QStringLiteral("cmdnext_Click")); }

void frmItemDetails::cmdLast_Click() { showLine(m_lines.count() - 1, QStringLiteral("cmdLast_Click(")); }

// --- Keys ------------------------------------------------------------------------------

bool frmItemDetails::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui.txtWriteQty && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, ui.txtWriteQty, &QLineEdit::selectAll); // after the click has placed the cursor
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F3) {
        if (ui.cmdbarcode->isEnabled())
            cmdbarcode_Click();
        return true;
    }
    if (watched == ui.txtBarcode) {
        if (key->text() == QLatin1String("'"))
            return true;
        if (isEnter(key)) {
            txtBarcode_KeyPress();
            return true;
        }
        return false;
    }
    if (watched == ui.txtWriteQty) {
        if (isEnter(key)) {
            txtWriteQty_Enter();
            return true;
        }
        return !writeOffKey(key->text());
    }
    if (watched == ui.cboItem && isEnter(key)) {
        m_context->gen->SelectComboItemByname(ui.cboItem, ui.cboItem->currentText());
        cboItem_Click();
        if (ui.txtWriteQty->isEnabled())
            ui.txtWriteQty->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (auto *b = qobject_cast<QPushButton *>(watched); b && isEnter(key)) {
        b->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace shop
