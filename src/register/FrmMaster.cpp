#include "register/FrmMaster.h"

#include "common/core/Conversions.h"
#include "common/host/ErrorReporting.h"
#include "common/ui/FormKeys.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/db/SqlText.h"
#include "common/ui/Twips.h"
#include "common/ui/Ui.h"
#include "editor/EntryDraft.h"
#include "register/RegisterChildWindows.h"
#include "register/RegisterRow.h"
#include "register/RegisterData.h"

#include <QComboBox>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace shop {

namespace {

const QString WindowName = QStringLiteral("FrmMaster");

} // namespace

FrmMaster::FrmMaster(QWidget *parent) : QDialog(parent)
{
    setObjectName(WindowName);
    buildWindow();
}

FrmMaster::~FrmMaster() = default;

void FrmMaster::buildWindow()
{
    setupUi(this);
    flexMaster->verticalHeader()->setDefaultSectionSize(flexMaster->fontMetrics().height() + 8);
    flexMaster->horizontalHeader()->setDefaultSectionSize(twipsToPixels(960));
    // Lay the children out now: the grid's width decides how its columns are spread
    // while the list is filled, before the window is first shown.
    windowLayout->activate();

    m_browse = std::make_unique<BrowseGrid>(*flexMaster, *cboColNames, *cboSearch);

    connect(cmdnew, &QPushButton::clicked, this, &FrmMaster::cmdnew_Click);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmMaster::CmdEdit_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &FrmMaster::CmdDelete_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &FrmMaster::cmdPreview_Click);
    connect(CmdClose, &QPushButton::clicked, this, &FrmMaster::CmdClose_Click);
    connect(cboColNames, &QComboBox::activated, this, [this] { cboColNames_Click(); });
    // A new direction applies to the next column chosen.
    connect(optAscend, &QRadioButton::clicked, this, [this] { cboColNames->setCurrentIndex(-1); });
    connect(optDescend, &QRadioButton::clicked, this, [this] { cboColNames->setCurrentIndex(-1); });
    connect(txtsearch, &QLineEdit::textEdited, this, [this] { txtsearch_KeyUp(); });
    connect(flexMaster, &RegisterGrid::currentRowChanged, this, [this](int row, int previousRow) {
        if (row != previousRow)
            refreshCurrentRow();
    });
    connect(flexMaster->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_browse->applySelectionColours(); });
    connect(flexMaster, &RegisterGrid::doubleClicked, this, [this] {
        if (CmdEdit->isEnabled())
            CmdEdit_Click();
    });
    // The cell under the pointer shows its text as the tooltip (the model gives it).

    for (QWidget *w : {static_cast<QWidget *>(flexMaster), static_cast<QWidget *>(cboColNames),
                       static_cast<QWidget *>(cboSearch), static_cast<QWidget *>(optAscend),
                       static_cast<QWidget *>(optDescend), static_cast<QWidget *>(txtsearch)})
        w->installEventFilter(this);
    for (QPushButton *b : {cmdnew, CmdEdit, CmdDelete, cmdPreview, CmdClose})
        b->installEventFilter(this);
}

void FrmMaster::Form_Load()
{
    guarded(WindowName, QStringLiteral("Form_Load "), [&] {
        ModuleState &state = moduleState();
        m_gen = ComponentRegistry::create<clsCommonGen>(progid::CommonGen);
        m_db = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
        state.gobjFormColor = ComponentRegistry::create<clsFormcolor>(progid::FormColor);
        state.gobjFormColor->Applyformcolor(this);
        if (state.gstrTransType == reg::PurchaseReturnType) {
            state.gintInterfaceID = reg::PurchaseReturnInterface;
            setWindowTitle(QStringLiteral("Shop Purchase Return"));
        }
        state.gobjAudit = ComponentRegistry::create<clsUserAuditing>(progid::UserAuditing);
        ConnectionPtr connection = state.gadocon;
        state.gobjAudit->OpenObject(connection, state.gintCompanyID, state.gintShopID, state.gintUserID,
                                    state.gintInterfaceID, QDateTime::currentDateTime());
        state.gadocon = connection;
        m_db->adocon = state.gadocon;
        m_fromDate = fnPopulateDate();
        const reg::PackageSettings settings = reg::readPackageSettings(*m_db);
        state.gstrStockView = settings.stockView;
        state.gstrListTable = reg::ListTable;
        state.gstrListQuery = reg::listQuery(m_fromDate, state.gintShopID, state.gstrTransType);
        state.gblnIntegerQuantity = settings.integerQuantity;
        state.gblnAlias = settings.alias;
        if (settings.alias) {
            state.gstrAlias = settings.aliasText;
            setWindowTitle(state.gstrAlias + QStringLiteral(" Purchase Return"));
        }
        {
            BusyPointer busy;
            GridPopulate(state.gstrListQuery);
        }
        // Once the columns share the width, widening the window widens the last one.
        flexMaster->horizontalHeader()->setStretchLastSection(true);
        UserRights();
        m_browse->applySelectionColours();
        state.gintCompanyLogin = settings.companyLogin;
    });
}

QDate FrmMaster::fnPopulateDate()
{
    const ModuleState &state = moduleState();
    return reg::fnPopulateDate(*m_db, state.gintShopID, state.gdtProcessDate);
}

void FrmMaster::GridPopulate(const QString &statement)
{
    const ModuleState &state = moduleState();
    m_browse->GridPopulate(state.gadocon, sessionOf(state), statement);
}

void FrmMaster::UserRights()
{
    const ModuleState &state = moduleState();
    const auto rights = reg::functionRights(*state.gadocon, state.gintUserID, state.gintInterfaceID);
    m_hasRightsRow = rights.has_value();
    m_rights = rights.value_or(QString());
    cmdnew->setEnabled(mayUse(QStringLiteral("N")));
    enableCommands(PostedRow::BlocksDelete);
}

bool FrmMaster::fnUserRights(const QString &letter) const { return reg::fnUserRights(letter, m_rights); }

bool FrmMaster::mayUse(const QString &letter) const
{
    // Without a rights row every command is open to the user; the rights themselves
    // (among them "B", changing back-dated entries) stay those of an empty rights text.
    return reg::mayUseCommand(m_hasRightsRow ? std::optional<QString>(m_rights) : std::nullopt, letter);
}

bool FrmMaster::currentRowIs(int column) const
{
    const int row = flexMaster->row();
    return row >= 1 && row < flexMaster->rows() && flexMaster->textMatrix(row, column) == QLatin1String("Yes");
}

void FrmMaster::enableCommands(PostedRow posted)
{
    const int row = flexMaster->row();
    const bool onEntry = row >= 1 && row < flexMaster->rows() && !flexMaster->textMatrix(row, BrowseGrid::IdColumn).isEmpty()
        && !flexMaster->textMatrix(1, BrowseGrid::NumberColumn).isEmpty();
    CmdEdit->setEnabled(onEntry && mayUse(QStringLiteral("E")));
    cmdPreview->setEnabled(onEntry && mayUse(QStringLiteral("P")));
    CmdDelete->setEnabled(onEntry && mayUse(QStringLiteral("D")) && !currentRowIs(BrowseGrid::CancelledColumn)
                          && !(posted == PostedRow::BlocksDelete && currentRowIs(BrowseGrid::PostedColumn)));
}

void FrmMaster::refreshCurrentRow() { enableCommands(PostedRow::BlocksDelete); }

// Coming back to the register (the editor closed) leaves a posted row's Delete to
// the posted check of the command itself.
void FrmMaster::Form_Activate() { enableCommands(PostedRow::CheckedByDelete); }

// The model paints cancelled rows itself; what is left is the commands of the current row.
void FrmMaster::MarkCancelledRows() { enableCommands(PostedRow::CheckedByDelete); }

void FrmMaster::selectCurrentRow()
{
    flexMaster->setTopRow(flexMaster->row());
    flexMaster->selectRows(flexMaster->row(), flexMaster->row());
}

void FrmMaster::showChild(std::unique_ptr<QDialog> window)
{
    Ui::current().showModal(*window, this);
    window.reset();
    Form_Activate();
}

bool FrmMaster::childAvailable(bool present, const QString &unavailable)
{
    if (!present)
        Ui::current().message(unavailable, MsgIcon::Information, moduleState().gstrMessageTitle);
    return present;
}

void FrmMaster::refreshRow(TransactionId id, EntryMode mode)
{
    try {
        const std::optional<QStringList> cells = reg::listedRow(moduleConnection(), moduleState().gstrListQuery, id);
        if (!cells)
            return;
        RegisterModel &list = flexMaster->listModel();
        if (mode == EntryMode::Stored) {
            // Column 0 holds the id, which does not change. A return the rows read so far
            // do not hold (one restored from a draft, older than the list) has none to refresh.
            for (int r = 0; r < list.rowCount(); ++r) {
                if (list.text(r, BrowseGrid::IdColumn) == id.text()) {
                    list.replaceRow(r, *cells);
                    break;
                }
            }
            return;
        }
        // A new return takes its place in the list as it is ordered (the last row in the order of entry).
        if (const std::optional<int> at = list.reopenAt(id)) {
            const int row = *at + 1;
            flexMaster->setRow(row);
            flexMaster->setTopRow(row);
            flexMaster->selectRows(row, row);
        }
    } catch (...) {
        TrackCaughtError(QStringLiteral("BasWriteoff"), QStringLiteral("UpdateEditedRow"), true);
    }
}

void FrmMaster::openEditor(EntryMode mode, const QString &unavailable)
{
    EntryRequest request;
    request.mode = mode;
    if (mode == EntryMode::Stored) {
        const RegisterRow row = RegisterRow::current(*flexMaster, fnUserRights(QStringLiteral("B")));
        request.id = row.id;
        request.listing = row.listing;
    }
    showEditor(std::move(request), unavailable);
}

void FrmMaster::showEditor(EntryRequest request, const QString &unavailable)
{
    ModuleState &state = moduleState();
    if (state.gobjAudit)
        state.gobjAudit->LoggedTime = QDateTime::currentDateTime();
    // The error log and the host's components still read the mode from the module's state.
    state.gstrMode = modeText(request.mode);
    const auto &factory = RegisterChildWindows::current().editor;
    if (!childAvailable(bool(factory), unavailable))
        return;
    request.saved = [this, mode = request.mode](TransactionId id) { refreshRow(id, mode); };
    std::unique_ptr<QDialog> editor;
    {
        // The hourglass covers loading the entry, not the clerk's time in the editor.
        BusyPointer busy;
        editor = factory(std::move(request));
    }
    if (editor)
        showChild(std::move(editor));
}

void FrmMaster::offerDraft()
{
    if (m_draftOffered)
        return;
    m_draftOffered = true;
    ModuleState &state = moduleState();
    if (!state.gadocon)
        return;
    Connection &con = *state.gadocon;
    const Session session = sessionOf(state);
    DraftStore drafts(con, session);
    std::optional<DraftStore::Summary> summary;
    // A database whose host has not yet given it the drafts table still opens the register.
    guarded(WindowName, QStringLiteral("offerDraft"), [&] { summary = drafts.summary(); }, Shown::LogOnly);
    if (!summary)
        return;
    guarded(WindowName, QStringLiteral("offerDraft"), [&] {
        const MsgAnswer answer = Ui::current().ask(
            QStringLiteral("A purchase return that was not saved was found (%1 %2, last changed at %3). "
                           "Do you want to restore it?")
                .arg(summary->lines)
                .arg(summary->lines == 1 ? QStringLiteral("line") : QStringLiteral("lines"))
                .arg(summary->changedAt.toString(QStringLiteral("hh:mm"))),
            MsgButtons::YesNo, MsgAnswer::Yes, MsgIcon::Question, state.gstrMessageTitle);
        if (answer != MsgAnswer::Yes) {
            drafts.discard();
            return;
        }
        std::optional<EntryDraft> draft;
        try {
            draft = drafts.read();
        } catch (const ModuleError &) {
            drafts.discard();
            Ui::current().message(DraftStore::UnreadableMessage, MsgIcon::Exclamation, state.gstrMessageTitle);
            return;
        }
        if (!draft)
            return;
        DraftRestore plan = planRestore(con, session, std::move(*draft));
        if (plan.storedChangedMeanwhile)
            // Someone else's change stays as it is; the clerk's lines become a return of their own.
            Ui::current().message(QStringLiteral("The purchase return ") + plan.storedNumber
                                      + QStringLiteral(" was changed, cancelled or posted on another terminal after "
                                                       "you began changing it. Your lines open as a new purchase return."),
                                  MsgIcon::Information, state.gstrMessageTitle);
        EntryRequest request;
        request.mode = plan.draft.entry.mode;
        request.id = plan.draft.entry.id;
        request.listing = plan.listing;
        request.listing.mayChangeBackDated = fnUserRights(QStringLiteral("B"));
        request.draft = std::move(plan.draft);
        showEditor(std::move(request), QStringLiteral("Entering purchase returns is not available yet."));
    });
}

void FrmMaster::cmdnew_Click()
{
    guarded(WindowName, QStringLiteral("cmdnew_Click "), [&] {
        openEditor(EntryMode::New, QStringLiteral("Entering purchase returns is not available yet."));
    });
    m_browse->applySelectionColours();
}

void FrmMaster::CmdEdit_Click()
{
    guarded(WindowName, QStringLiteral("CmdEdit_Click "), [&] {
        openEditor(EntryMode::Stored, QStringLiteral("Changing purchase returns is not available yet."));
    });
}

void FrmMaster::CmdDelete_Click()
{
    ModuleState &state = moduleState();
    guarded(WindowName, QStringLiteral("CmdDelete_Click  "), [&] {
        if (currentRowIs(BrowseGrid::PostedColumn)) {
            Ui::current().message(QStringLiteral("Entry Posted,Cannot Delete"), MsgIcon::Information, QString());
            return;
        }
        if (currentRowIs(BrowseGrid::ConfirmedColumn)) {
            Ui::current().message(QStringLiteral("Entry Confirmed,Cannot Delete"), MsgIcon::Information, QString());
            return;
        }
        const int row = flexMaster->row();
        const TransactionId transId = RegisterRow::current(*flexMaster, false).id;
        const qint32 id = transId.value();
        m_db->strTableName = QStringLiteral("LOsPurchaseReturnHeader");
        const QVariant cancelled = m_db->fnReturnField(QStringLiteral("count(*)"),
                                                       QStringLiteral(" whCancelled = 1 and whId = ") + sqlNumber(id)
                                                           + QStringLiteral(" and whShopId = ") + sqlNumber(state.gintShopID));
        if (toInt32(cancelled) > 0) {
            Ui::current().message(QStringLiteral("This entry is already deleted"), MsgIcon::Information,
                                  state.gstrMessageTitle);
            CmdDelete->setEnabled(false);
            return;
        }
        {
            // The question and the deletion dialog wait for the clerk without the hourglass.
            const MsgAnswer answer = Ui::current().ask(
                QStringLiteral("Are you sure want to delete the entry - ") + flexMaster->textMatrix(row, BrowseGrid::NumberColumn),
                MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question, state.gstrMessageTitle);
            const auto &factory = RegisterChildWindows::current().deletion;
            if (answer == MsgAnswer::Yes
                && childAvailable(bool(factory), QStringLiteral("Cancelling purchase returns is not available yet."))) {
                if (std::unique_ptr<QDialog> dialog =
                        factory(DeletionRequest{transId, flexMaster->textMatrix(row, BrowseGrid::NumberColumn)})) {
                    Ui::current().showModal(*dialog, this);
                    dialog.reset();
                    Ui::current().processEvents();
                    BusyPointer busy;
                    const int remembered = flexMaster->row();
                    refreshRow(transId, EntryMode::Stored);
                    MarkCancelledRows();
                    flexMaster->setRow(remembered);
                    selectCurrentRow();
                }
            }
        }
        enableCommands(PostedRow::CheckedByDelete);
        m_browse->applySelectionColours();
    });
}

void FrmMaster::cmdPreview_Click()
{
    guarded(WindowName, QStringLiteral("cmdPreview_Click  "), [&] {
        const auto &factory = RegisterChildWindows::current().print;
        if (!childAvailable(bool(factory), QStringLiteral("Printing is not available yet.")))
            return;
        const TransactionId id = RegisterRow::current(*flexMaster, false).id;
        if (std::unique_ptr<QDialog> dialog = factory(id, this))
            showChild(std::move(dialog));
    });
}

void FrmMaster::CmdClose_Click() { done(QDialog::Accepted); }

void FrmMaster::cboColNames_Click()
{
    guarded(WindowName, QStringLiteral("cboColNames_Click "), [&] {
        BusyPointer busy;
        m_browse->sortByChosenColumn(optAscend->isChecked());
        // Another return may now stand in the current row.
        refreshCurrentRow();
    });
}

void FrmMaster::txtsearch_KeyUp()
{
    if (cboSearch->currentIndex() >= 0 && !txtsearch->text().trimmed().isEmpty())
        m_browse->FindInGrid(txtsearch->text());
    refreshCurrentRow();
}

bool FrmMaster::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    // The question comes once the register is on screen behind it.
    if (e->type() == QEvent::Show && !m_draftOffered)
        QTimer::singleShot(0, this, &FrmMaster::offerDraft);
    return QDialog::event(e);
}

bool FrmMaster::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, e);
    const auto *key = static_cast<QKeyEvent *>(e);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
    if (ctrl && enter) {
        if (cmdnew->isEnabled())
            cmdnew_Click();
        return true;
    }
    if (ctrl && key->key() == Qt::Key_D) {
        flexMaster->setFocus();
        return true;
    }
    if (watched == flexMaster) {
        if (enter) {
            if (CmdEdit->isEnabled())
                CmdEdit_Click();
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            if (CmdDelete->isEnabled())
                CmdDelete_Click();
            return true;
        }
        return false;
    }
    if (enter && watched != txtsearch && qobject_cast<QPushButton *>(watched) == nullptr) {
        EnterToTab(13, static_cast<QWidget *>(watched));
        return true;
    }
    if (enter && watched == txtsearch) {
        EnterToTab(13, txtsearch);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace shop
