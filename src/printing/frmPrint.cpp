#include "printing/frmPrint.h"

#include "common/core/TransactionId.h"
#include "common/host/ErrorReporting.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "printing/ModuleFolder.h"
#include "printing/PrintDestinations.h"
#include "printing/PrinterEncoding.h"
#include "printing/PrintSettings.h"
#include "printing/ReportPrint.h"
#include "printing/ScreenViewer.h"
#include "printing/TextPrintout.h"

#include <QPushButton>
#include <QRadioButton>
#include <optional>

namespace shop {

namespace {
const QString WindowName = QStringLiteral("frmPrint");
}

frmPrint::frmPrint(TransactionId id, QWidget *viewerOwner, QWidget *parent)
    : QDialog(parent), m_id(id), m_viewerOwner(viewerOwner)
{
    setObjectName(WindowName);
    setupUi(this);

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
    guarded(WindowName, QStringLiteral("cmdOK_Click"), [&] {
        if (optwindowsprint->isChecked() && !optwindowsprint->isHidden()) {
            BusyPointer busy;
            WIndowsPrint();
            return;
        }
        printText(optScreen->isChecked());
    });
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
    printout.readReturn(m_id);
    QString screenFile;
    {
        BusyPointer busy;
        const QByteArray document = printout.PrintBill(m_id);
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
    const ReportRequest request = ReportRequest::lookUp(state.gintShopID, state.gintUserID, m_id.value());
    m_report.reset();
    m_engine = createReportEngine();
    m_report = openFilledReport(*m_engine, path, request);
    m_report->preview(ReportPreviewTitle, 0, 0, 0, 0, ReportPreviewStyle, this);
}

void frmPrint::cmdCancel_Click() { reject(); }

} // namespace shop
