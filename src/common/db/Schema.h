#pragma once

// The database the module works on: the suite's master, ledger and purchase-return
// tables, its views and procedures, and the module's own tables (error log, audit,
// grid settings, form colours). Versioned: each step upgrades the one before it.
#include <rtnmod08/Database.h>

namespace shop::schema {

// Makes the suite's stored procedures callable on a connection to an up-to-date
// database: an embedded database runs them as code of this program, which each
// connection has to be given; a server database holds them already.
void attach(Connection &con);

} // namespace shop::schema
