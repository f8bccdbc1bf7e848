#pragma once

// Everything a host of the purchase-return module uses: the public class, the
// connection it is handed, the recordsets and errors it hands back, and the component
// interfaces with the registry a host puts its own implementations in.
#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/Connection.h>
#include <rtnmod08/HostComponents.h>
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>
#include <rtnmod08/clsShopWriteoff.h>
