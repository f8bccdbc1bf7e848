#include "editor/frmCancel.h"

#include "common/host/ErrorReporting.h"
#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "editor/PurchaseReturnCancel.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
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
    setWindowTitle(QStringLiteral("Reason For Deletion"));
    Label1 = new QLabel(QStringLiteral("&Reason :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtcanreason = new QLineEdit(this);
    txtcanreason->setObjectName(QStringLiteral("txtcanreason"));
    txtcanreason->setMinimumWidth(360);
    txtcanreason->setMaxLength(200);
    Label1->setBuddy(txtcanreason);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(txtcanreason, 0, 1);
    layout->addWidget(cmdOK, 1, 1, Qt::AlignRight);
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
    try {
        BusyPointer busy;
        PurchaseReturnCancel().cancel(m_transId, m_transNo, txtcanreason->text(), m_commitToken);
        m_deleted = true;
        cmdOK->setEnabled(false);
        done(QDialog::Accepted);
    } catch (...) {
        m_failed = true;
        TrackCaughtError(WindowName, QStringLiteral("cmdOK_Click"));
    }
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
