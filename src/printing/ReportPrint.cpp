#include "printing/ReportPrint.h"

#include "common/db/SqlText.h"
#include "common/host/ModuleCommonDB.h"

namespace shop {

ReportRequest ReportRequest::lookUp(qint32 shopId, qint32 userId, double transactionId)
{
    ReportRequest r;
    r.shopId = shopId;
    r.transactionId = transactionId;
    const auto db = newCommonDB(QStringLiteral("lousers where userid=") + sqlNumber(userId));
    r.userName = db->fnReturnField(QStringLiteral("username")).toString();
    db->strTableName = QStringLiteral("ashops a,adepartmentmaster b where shopid=") + sqlNumber(shopId)
        + QStringLiteral(" and  a.departmentid=b.departmentid ");
    r.departmentName = db->fnReturnField(QStringLiteral("departmentname")).toString();
    return r;
}

std::shared_ptr<Report> openFilledReport(ReportEngine &engine, const QString &reportPath, const ReportRequest &request)
{
    engine.logOnServer(reportLogon());
    std::shared_ptr<Report> report = engine.openReport(reportPath);
    ReportWindowOptions &options = report->windowOptions();
    ReportParameters &parameters = report->parameters();
    parameters.setCurrentValue(1, request.shopId);
    parameters.setCurrentValue(2, request.transactionId);
    parameters.setCurrentValue(3, ReportDocumentName);
    parameters.setCurrentValue(4, request.userName);
    parameters.setCurrentValue(5, request.departmentName);
    for (const int option : {7, 8, 12, 14})
        options.setOption(option, true);
    return report;
}

} // namespace shop
