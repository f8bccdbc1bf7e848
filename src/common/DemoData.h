#pragma once

#include "common/Connection.h"

#include <QDate>

namespace shop::demo {

// Fills a database that has the current schema with the demo company: three shops
// (by location, without locations, item-type rule "B"), items with expiry and serial
// tracking, arrivals in every ledger, users with each kind of rights and stored
// purchase returns that are normal, cancelled, posted, confirmed and back-dated.
// Dates are laid out around `today`, so the register always has something to show.
void populate(Connection &con, const QDate &today);

// Removes every row of the demo (the schema stays) and fills it again.
void recreate(Connection &con, const QDate &today);

} // namespace shop::demo
