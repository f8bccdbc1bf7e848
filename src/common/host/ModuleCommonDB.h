#pragma once

#include <rtnmod08/HostComponents.h>

#include <memory>

namespace shop {

// The connection itself, or, when there is none, one never opened: every statement
// on it fails as on a closed connection, which the caller's trap reports.
Connection &connectionOf(const ConnectionPtr &con);
// The module's connection (gadocon), the same way.
Connection &moduleConnection();

// A fresh data-access component on the module's connection, as the shared routines
// take one per call.
std::shared_ptr<clsCommonDB> newCommonDB(const QString &tableName = QString());

} // namespace shop
