#pragma once

#include "printing/ReportDefinition.h"
#include "printing/ReportEngine.h"

#include <QPointer>
#include <QSet>

namespace shop {

class ReportPreview;

// The module's own report engine: it fills a report file (ReportDefinition) from the
// module's connection, shows it in a print preview that prints to any printer of the
// system and exports PDF. It needs no logon of its own.
class DefaultReportEngine final : public ReportEngine {
public:
    void logOnServer(const ReportLogon &) override {}
    std::shared_ptr<Report> openReport(const QString &path) override;
};

class DefaultReport final : public Report, ReportParameters, ReportWindowOptions {
public:
    explicit DefaultReport(ReportDefinition definition);
    ~DefaultReport() override;

    ReportWindowOptions &windowOptions() override { return *this; }
    ReportParameters &parameters() override { return *this; }
    void preview(const QString &title, int left, int top, int width, int height, quint32 style,
                 QWidget *owner) override;
    void exportPdf(const QString &path) override;

    int count() const override { return static_cast<int>(m_definition.parameterNames.size()); }
    void setCurrentValue(int position, const QVariant &value) override;
    void setOption(int dispatchId, bool on) override;

    // The filled layout (HTML) for the values set.
    QString filled() const;

private:
    ReportDefinition m_definition;
    QVariantList m_values;
    QSet<int> m_options;
    QPointer<ReportPreview> m_window;
};

} // namespace shop
