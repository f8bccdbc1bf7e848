#pragma once

#include "printing/ReportEngine.h"

#include <QString>
#include <memory>

namespace shop {

// What the report of one return is given, by position: the shop, the return (as the
// number the register's row starts with), the document's name, the printing user and
// the shop's department.
struct ReportRequest {
    qint32 shopId = 0;
    double transactionId = 0;
    QString userName;
    QString departmentName;

    // The user's and the department's names looked up on the module's connection.
    static ReportRequest lookUp(qint32 shopId, qint32 userId, double transactionId);
};

inline const QString ReportDocumentName = QStringLiteral(" Purchase Return");
inline const QString ReportPreviewTitle = QStringLiteral("Shop Purchase Return");
// An overlapped window, maximised.
constexpr quint32 ReportPreviewStyle = 0x01CF0000;

// Logs the engine on with the host's values, opens the report file, sets the five
// parameters in their order and switches on the preview window's four options.
std::shared_ptr<Report> openFilledReport(ReportEngine &engine, const QString &reportPath, const ReportRequest &request);

} // namespace shop
