#pragma once

/**
 * @file
 * @brief Everything a host of the purchase-return module uses.
 *
 * The public class (clsShopWriteoff), the connection it is handed (Connection), the
 * recordsets and errors it hands back (Recordset, ModuleError), the component
 * interfaces with the registry a host puts its own implementations in
 * (HostComponents.h, ComponentRegistry), and the calls that make a database ready for
 * the module (schema) or fill it with the demo company (demo).
 */
#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/Connection.h>
#include <rtnmod08/Database.h>
#include <rtnmod08/DemoData.h>
#include <rtnmod08/HostComponents.h>
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>
#include <rtnmod08/clsShopWriteoff.h>
