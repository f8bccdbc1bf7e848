#pragma once

// The host hands the module its connection, so the class is in the installed headers;
// the module's own sources see the dialects beside it.
#include <rtnmod08/Connection.h>
#include "common/db/Dialect.h"

#include <chrono>
#include <functional>

namespace shop {

// A connection whose address names several hosts (a failover cluster) waits this long
// after a lost server for one of them to accept writes again, trying every half second,
// before the command fails with the unreachable message.
void setFailoverWait(std::chrono::milliseconds wait);
std::chrono::milliseconds failoverWait();
// Told `true` when a command starts waiting for a server and `false` when the wait
// ends; the module shows the hourglass meanwhile.
void setServerWaitObserver(std::function<void(bool waiting)> observer);

} // namespace shop
