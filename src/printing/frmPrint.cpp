#include "printing/frmPrint.h"

#include "common/core/Conversions.h"
#include "common/core/TransactionId.h"
#include "common/host/ErrorReporting.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/ui/NamedWidget.h"
#include "common/ui/Ui.h"
#include "printing/ModuleFolder.h"
#include "printing/PrintDestinations.h"
#include "printing/PrinterEncoding.h"
#include "printing/PrintSettings.h"
#include "printing/ReportPrint.h"
#include "printing/ScreenViewer.h"
#include "printing/TextPrintout.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

namespace shop {

namespace {
const QString WindowName = QStringLiteral("frmPrint");
}

frmPrint::frmPrint(QString transactionText, QWidget *viewerOwner, QWidget *parent)
    : QDialog(parent), m_transactionText(std::move(transactionText)), m_viewerOwner(viewerOwner)
{
    setObjectName(WindowName);
    setWindowTitle(QStringLiteral("Print"));
    fraPrint = namedWidget<QGroupBox>(this, QStringLiteral("fraPrint"));
    Picture1 = namedWidget<QWidget>(fraPrint, QStringLiteral("Picture1"));
    optPrint = namedWidget<QRadioButton>(Picture1, QStringLiteral("optPrint"));
    optPrint->setText(QStringLiteral("To Printer"));
    optScreen = namedWidget<QRadioButton>(Picture1, QStringLiteral("optScreen"));
    optScreen->setText(QStringLiteral("To Screen"));
    optwindowsprint = namedWidget<QRadioButton>(Picture1, QStringLiteral("optwindowsprint"));
    optwindowsprint->setText(QStringLiteral("Windows Print"));
    cmdOK = namedWidget<QPushButton>(this, QStringLiteral("cmdOK"));
    cmdOK->setText(QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    cmdCancel = namedWidget<QPushButton>(this, QStringLiteral("cmdCancel"));
    cmdCancel->setText(QStringLiteral("Cancel"));

    auto *options = new QVBoxLayout(Picture1);
    options->addWidget(optPrint);
    options->addWidget(optScreen);
    options->addWidget(optwindowsprint);
    auto *frame = new QVBoxLayout(fraPrint);
    frame->addWidget(Picture1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraPrint);
    layout->addLayout(buttons);
    setMinimumWidth(300);

    connect(cmdOK, &QPushButton::clicked, this, &frmPrint::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrint::cmdCancel_Click);
}

frmPrint::~frmPrint() = default;

void frmPrint::Form_Load()
{
    if (auto colours = moduleState().gobjFormColor)
        colours->Applyformcolor(this);
    const DestinationSettings offered = readDestinationSettings(settingsFilePath());
    optwindowsprint->setVisible(offered.windowsPrint);
    if (offered.windowsPrint)
        optwindowsprint->setChecked(true);
    else
        (offered.toScreen ? optScreen : optPrint)->setChecked(true);
    // The clerk's usual choice, whatever the file says.
    optScreen->setChecked(true);
}

void frmPrint::cmdOK_Click()
{
    try {
        if (optwindowsprint->isChecked() && !optwindowsprint->isHidden()) {
            BusyPointer busy;
            WIndowsPrint();
            return;
        }
        printText(optScreen->isChecked());
    } catch (...) {
        TrackCaughtError(WindowName, QStringLiteral("cmdOK_Click"));
    }
}

void frmPrint::printText(bool toScreen)
{
    const ModuleState &state = moduleState();
    TextPrintout printout(moduleConnection(), state.gintShopID, state.gintUserID, state.gintCompanyID);
    // Reports what the header or footer met even when the printout itself fails.
    struct ReportTrapped {
        TextPrintout &p;
        ~ReportTrapped() { p.reportTrappedErrors(); }
    } reportTrapped{printout};

    // Missing keys are told here, before the hourglass.
    printout.readSettings(settingsFilePath());
    const TransactionId id = TransactionId::fromText(m_transactionText);
    printout.readReturn(id);
    QString screenFile;
    {
        BusyPointer busy;
        const QByteArray document = printout.PrintBill(id);
        if (toScreen)
            screenFile = writeScreenFile(document);
        else
            sendToPrinter(printout.settings().port, printerBytes(document, printout.settings().printEncoding));
    }
    if (toScreen)
        ScreenViewer::showFile(m_viewerOwner, screenFile);
    done(QDialog::Accepted);
}

void frmPrint::WIndowsPrint()
{
    const QString path = reportFilePath();
    const ModuleState &state = moduleState();
    const ReportRequest request = ReportRequest::lookUp(state.gintShopID, state.gintUserID, val(m_transactionText));
    m_report.reset();
    m_engine = createReportEngine();
    m_report = openFilledReport(*m_engine, path, request);
    m_report->preview(ReportPreviewTitle, 0, 0, 0, 0, ReportPreviewStyle, this);
}

void frmPrint::cmdCancel_Click() { reject(); }

} // namespace shop
