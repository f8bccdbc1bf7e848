#pragma once

#include <rtnmod08/Connection.h>
#include <rtnmod08/Export.h>

/**
 * @brief The module's tables on a database: their version, creating and upgrading them.
 *
 * A host checks a database with these calls before it hands the connection to
 * clsShopWriteoff: an empty database gets the schema with upgrade(), an older one is
 * brought up to date by the same call, and one made by a newer module is refused.
 * Each step of an upgrade runs in its own transaction and never drops data.
 */
namespace shop::schema {

/// The schema version this library creates and upgrades to.
RTNMOD08_EXPORT int currentVersion();
/// The version a database holds; 0 when it has none of the module's tables.
/// @throws ModuleError when the database cannot be read.
RTNMOD08_EXPORT int installedVersion(Connection &con);
/// True when the database holds no tables or views at all, so that the schema may be made there.
/// @throws ModuleError when the database cannot be read.
RTNMOD08_EXPORT bool isEmptyDatabase(Connection &con);
/**
 * @brief Brings the database up to `target` (default: currentVersion()), one step per transaction.
 *
 * Afterwards the connection is ready for the module (its stored procedures are callable).
 * @throws ModuleError when the database was made by a newer version of the module, or a
 *         step fails (that step is rolled back; the steps before it stay).
 */
RTNMOD08_EXPORT void upgrade(Connection &con, int target = -1);

} // namespace shop::schema
