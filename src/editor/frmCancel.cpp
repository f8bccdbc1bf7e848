#include "editor/frmCancel.h"

#include "common/host/ErrorReporting.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "editor/PurchaseReturnCancel.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace shop {

namespace {
const QString WindowName = QStringLiteral("frmCancel");
}

frmCancel::frmCancel(TransactionId transId, QString transNo, QWidget *parent)
    : QDialog(parent), m_transId(transId), m_transNo(std::move(transNo))
{
    setObjectName(WindowName);
    setupUi(this);
    txtcanreason->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmCancel::cmdOK_Click);
}

void frmCancel::Form_Load()
{
    if (auto colours = moduleState().gobjFormColor)
        colours->Applyformcolor(this);
    txtcanreason->setFocus();
}

void frmCancel::cmdOK_Click()
{
    ModuleState &state = moduleState();
    if (state.gobjAudit)
        state.gobjAudit->LoggedTime = QDateTime::currentDateTime();
    if (txtcanreason->text().trimmed().isEmpty()) {
        Ui::current().message(PurchaseReturnCancel::ReasonMissingMessage, MsgIcon::Information, state.gstrMessageTitle);
        txtcanreason->setFocus();
        return;
    }
    const bool ran = guarded(WindowName, QStringLiteral("cmdOK_Click"), [&] {
        BusyPointer busy;
        PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(m_transId, m_transNo, txtcanreason->text(), m_commitToken);
        m_deleted = true;
        cmdOK->setEnabled(false);
        done(QDialog::Accepted);
    });
    if (!ran)
        m_failed = true;
}

bool frmCancel::runOkBeforeClosing()
{
    if (!cmdOK->isEnabled())
        return true;
    cmdOK_Click();
    // A failed deletion has been reported and nothing of it is stored: let the user out.
    return m_deleted || m_failed;
}

void frmCancel::closeEvent(QCloseEvent *event)
{
    if (runOkBeforeClosing())
        event->accept();
    else
        event->ignore();
}

void frmCancel::reject()
{
    if (runOkBeforeClosing() && isVisible())
        QDialog::reject();
}

bool frmCancel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtcanreason && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->text() == QLatin1String("'"))
            return true; // an apostrophe is not taken into the reason
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cmdOK->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace shop
