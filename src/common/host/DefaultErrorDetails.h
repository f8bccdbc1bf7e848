#pragma once

#include <rtnmod08/HostComponents.h>

namespace shop {

// The library's error tracker: every reported error becomes a row of shop_error_log
// on the module's connection, and is shown to the user unless the failing routine
// already told them.
class DefaultErrorDetails final : public ErrorDetails {
public:
    void ErrorTrack(QString &moduleName, QString &userName, QString &routine, long long &number, QString &source,
                    QString &description, QString &mode, bool &showToUser) override;
};

} // namespace shop
