#include "printing/ReportPreview.h"

#include "common/host/ErrorReporting.h"
#include "common/ui/Ui.h"
#include "printing/PrintDestinations.h"

#include <QAction>
#include <QBuffer>
#include <QFileDialog>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace shop {

namespace {

const QString WindowName = QStringLiteral("ReportPreview");

void setUpPage(QPagedPaintDevice &device, const ReportDefinition &definition)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(definition.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const double m = definition.marginMillimetres;
    device.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

void setUp(QPrinter &printer, const ReportDefinition &definition)
{
    setUpPage(printer, definition);
    printer.setDocName(definition.title);
}

std::unique_ptr<QTextDocument> documentOf(const QString &html)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setHtml(html);
    doc->setDocumentMargin(0);
    return doc;
}

// Lays the document out on the printer's page as the screen measures it (96 to the inch),
// so that a 10pt letter is 10pt on the paper.
void fitToPage(QTextDocument &document, const QPagedPaintDevice &device)
{
    constexpr int ScreenDpi = 96;
    document.setPageSize(device.pageLayout().paintRectPixels(ScreenDpi).size());
}

QAction *namedAction(QToolBar *bar, const QString &name, const QString &text, bool visible)
{
    QAction *action = bar->addAction(text);
    action->setObjectName(name);
    action->setVisible(visible);
    return action;
}

// Made in memory and written in one go, so that a file that cannot be written is
// told and never left half made.
void printPdf(QTextDocument &document, const ReportDefinition &definition, const QString &path)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        constexpr int PrinterDpi = 1200;
        writer.setResolution(PrinterDpi);
        setUpPage(writer, definition);
        writer.setTitle(definition.title);
        fitToPage(document, writer);
        document.print(&writer);
    }
    writePrintFile(path, pdf.data());
}

} // namespace

ReportPreview::ReportPreview(const QString &html, const ReportDefinition &definition, Actions actions, QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(documentOf(html)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_definition(definition)
{
    setObjectName(WindowName);
    setAttribute(Qt::WA_DeleteOnClose);
    setUp(*m_printer, definition);
    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("pvwReport"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        fitToPage(*m_document, *printer);
        m_document->print(printer);
    });

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbrReport"));
    connect(namedAction(bar, QStringLiteral("actPrint"), QStringLiteral("&Print..."), actions.print), &QAction::triggered,
            this, &ReportPreview::actPrint_Triggered);
    connect(namedAction(bar, QStringLiteral("actExportPdf"), QStringLiteral("&Export PDF..."), actions.exportPdf),
            &QAction::triggered, this, &ReportPreview::actExportPdf_Triggered);
    bar->addSeparator();
    connect(namedAction(bar, QStringLiteral("actZoomIn"), QStringLiteral("Zoom &In"), actions.zoom), &QAction::triggered,
            m_view, [this] { m_view->zoomIn(); });
    connect(namedAction(bar, QStringLiteral("actZoomOut"), QStringLiteral("Zoom &Out"), actions.zoom), &QAction::triggered,
            m_view, [this] { m_view->zoomOut(); });
    connect(namedAction(bar, QStringLiteral("actFitWidth"), QStringLiteral("Fit &Width"), actions.zoom), &QAction::triggered,
            m_view, &QPrintPreviewWidget::fitToWidth);
    bar->addSeparator();
    connect(namedAction(bar, QStringLiteral("actPreviousPage"), QStringLiteral("Pre&vious Page"), actions.pages),
            &QAction::triggered, m_view, [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
    connect(namedAction(bar, QStringLiteral("actNextPage"), QStringLiteral("&Next Page"), actions.pages), &QAction::triggered,
            m_view, [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);
    resize(900, 1000);
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::pageCount() const
{
    m_view->updatePreview();
    return m_view->pageCount();
}

void ReportPreview::actPrint_Triggered()
{
    try {
        QPrintDialog dialog(m_printer.get(), this);
        dialog.setObjectName(QStringLiteral("dlgPrint"));
        if (Ui::current().showModal(dialog, this) == QDialog::Accepted) {
            BusyPointer busy;
            fitToPage(*m_document, *m_printer);
            m_document->print(m_printer.get());
        }
    } catch (...) {
        TrackCaughtError(WindowName, QStringLiteral("actPrint_Triggered"));
    }
}

void ReportPreview::actExportPdf_Triggered()
{
    try {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QFileDialog dialog(this, QStringLiteral("Export PDF"), folder + QStringLiteral("/PurchaseReturn.pdf"),
                           QStringLiteral("PDF files (*.pdf)"));
        dialog.setObjectName(QStringLiteral("dlgExportPdf"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        if (Ui::current().showModal(dialog, this) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            BusyPointer busy;
            exportTo(dialog.selectedFiles().constFirst());
        }
    } catch (...) {
        TrackCaughtError(WindowName, QStringLiteral("actExportPdf_Triggered"));
    }
}

void ReportPreview::exportTo(const QString &path) { printPdf(*m_document, m_definition, path); }

void ReportPreview::writePdf(const QString &html, const ReportDefinition &definition, const QString &path)
{
    printPdf(*documentOf(html), definition, path);
}

} // namespace shop
