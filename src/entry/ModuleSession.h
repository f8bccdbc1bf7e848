#pragma once

#include <rtnmod08/clsShopWriteoff.h>

namespace shop {

// Copies the session a host set on the public class into the module-wide state, the
// connection first made when the host never assigned one.
void fillModuleState(clsShopWriteoff &module);

} // namespace shop
