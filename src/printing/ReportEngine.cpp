#include "printing/ReportEngine.h"

#include <rtnmod08/ComponentRegistry.h>
#include "printing/DefaultReportEngine.h"

namespace shop {

namespace {
ReportLogon &logonValues()
{
    static ReportLogon logon;
    return logon;
}
} // namespace

void setReportLogon(ReportLogon logon) { logonValues() = std::move(logon); }
const ReportLogon &reportLogon() { return logonValues(); }

std::shared_ptr<ReportEngine> createReportEngine()
{
    if (!ComponentRegistry::factoryFor(ReportEngineName))
        ComponentRegistry::registerFactory<ReportEngine>(ReportEngineName,
                                                         [] { return std::make_shared<DefaultReportEngine>(); });
    return ComponentRegistry::create<ReportEngine>(ReportEngineName);
}

} // namespace shop
