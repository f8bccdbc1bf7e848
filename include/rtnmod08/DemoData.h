#pragma once

#include <rtnmod08/Connection.h>
#include <rtnmod08/Export.h>

#include <QDate>

/**
 * @brief The demo company, for trying the module and for end-to-end checks.
 *
 * Three shops (by location, without locations, item-type rule "B"), items with expiry
 * and serial tracking, arrivals in every ledger, users with each kind of rights and
 * stored purchase returns that are normal, cancelled, posted, confirmed and back-dated.
 * Dates are laid out around the day given, so the register always has something to show.
 * Every call needs a database with the current schema (schema::upgrade()).
 */
namespace shop::demo {

/// Fills the database with the demo company, in one transaction.
/// @throws ModuleError when a row cannot be written (nothing is kept then).
RTNMOD08_EXPORT void populate(Connection &con, const QDate &today);

/// True when the database holds the demo company and no other.
RTNMOD08_EXPORT bool isDemo(Connection &con);
/// True when the schema is there but no company yet (a first start that was cut short).
RTNMOD08_EXPORT bool isUnfilled(Connection &con);

/// Removes every row of the demo (the schema stays) and fills it again, in one transaction.
/// @throws ModuleError for a database that holds anything but the demo company; it is left alone.
RTNMOD08_EXPORT void recreate(Connection &con, const QDate &today);

} // namespace shop::demo
