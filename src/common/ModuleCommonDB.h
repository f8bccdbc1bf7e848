#pragma once

#include "common/HostComponents.h"

#include <memory>

namespace shop {

// A fresh data-access component on the module's connection (gadocon), as the shared
// routines take one per call.
std::shared_ptr<clsCommonDB> newCommonDB(const QString &tableName = QString());

} // namespace shop
