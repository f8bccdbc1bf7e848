#pragma once

#include "printing/ReportDefinition.h"

#include <QWidget>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QTextDocument;
class QAction;

namespace shop {

// The print preview of a filled report: its pages as they will print, with Print (to
// any printer of the system), Export PDF, zoom and page buttons. It belongs to the
// window that opened it and does not block it.
class ReportPreview : public QWidget {
    Q_OBJECT
public:
    struct Actions {
        bool print = true;
        bool exportPdf = true;
        bool zoom = true;
        bool pages = true;
    };
    ReportPreview(const QString &html, const ReportDefinition &definition, Actions actions, QWidget *owner);
    ~ReportPreview() override;

    int pageCount() const;
    QTextDocument &document() { return *m_document; }
    void exportTo(const QString &path);

    // The report as a PDF file.
    static void writePdf(const QString &html, const ReportDefinition &definition, const QString &path);

public slots:
    void actPrint_Triggered();
    void actExportPdf_Triggered();

private:
    std::unique_ptr<QTextDocument> m_document;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    ReportDefinition m_definition;
};

} // namespace shop
