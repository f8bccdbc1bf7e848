#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class QWidget;

namespace shop {

// The report engine behind "Windows Print", as a small layer a host can replace: the
// dialog creates an engine, logs it on, opens the report file, sets the report's
// parameters by position and its preview window's options, and previews it.

// What an engine that reads its own database connection needs to log on with. The
// module keeps none of these values: a host whose engine needs them supplies them
// with setReportLogon. They are never logged.
struct ReportLogon {
    QString driver;
    QString dataSource;
    QString database;
    QString user;
    QString password;
};
void setReportLogon(ReportLogon logon);
const ReportLogon &reportLogon();

class ReportParameters {
public:
    virtual ~ReportParameters() = default;
    virtual int count() const = 0;
    // position is 1-based
    virtual void setCurrentValue(int position, const QVariant &value) = 0;
};

// Options of the preview window, by the dispatch numbers the suite's reports use:
// 7 the print button, 8 the export button, 12 zooming, 14 moving between pages.
class ReportWindowOptions {
public:
    virtual ~ReportWindowOptions() = default;
    virtual void setOption(int dispatchId, bool on) = 0;
};

class Report {
public:
    virtual ~Report() = default;
    virtual ReportWindowOptions &windowOptions() = 0;
    virtual ReportParameters &parameters() = 0;
    // A window style of 0x01000000 and up opens the window maximised; otherwise a width
    // and height above 0 give its place. The window is the owner's: it stays until the
    // owner closes.
    virtual void preview(const QString &title, int left, int top, int width, int height, quint32 style,
                         QWidget *owner) = 0;
    // The filled report as a PDF file, without a window (scripted reprints).
    virtual void exportPdf(const QString &path) = 0;
};

class ReportEngine {
public:
    virtual ~ReportEngine() = default;
    virtual void logOnServer(const ReportLogon &logon) = 0;
    // Raises an error when the file is missing or is not a report.
    virtual std::shared_ptr<Report> openReport(const QString &path) = 0;
};

// The name a host registers its engine under (ComponentRegistry); the module's own
// engine when none is registered.
inline const QString ReportEngineName = QStringLiteral("ShopReports.ReportEngine");
std::shared_ptr<ReportEngine> createReportEngine();

} // namespace shop
