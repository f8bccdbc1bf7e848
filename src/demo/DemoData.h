#pragma once

#include "common/db/Connection.h"

#include <QDate>

namespace shop::demo {

// Fills a database that has the current schema with the demo company: three shops
// (by location, without locations, item-type rule "B"), items with expiry and serial
// tracking, arrivals in every ledger, users with each kind of rights and stored
// purchase returns that are normal, cancelled, posted, confirmed and back-dated.
// Dates are laid out around `today`, so the register always has something to show.
void populate(Connection &con, const QDate &today);

// True when the database holds the demo company and no other.
bool isDemo(Connection &con);
// True when the schema is there but no company yet (a first start that was cut short).
bool isUnfilled(Connection &con);

// Removes every row of the demo (the schema stays) and fills it again, in one
// transaction. Refuses, raising a module error, a database that is not the demo.
void recreate(Connection &con, const QDate &today);

} // namespace shop::demo
