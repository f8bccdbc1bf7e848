#pragma once

#include "common/db/Connection.h"

namespace shop {

// The database the module works on: the suite's master, ledger and purchase-return
// tables, its views and procedures, and the module's own tables (error log, audit,
// grid settings, form colours). Versioned: each step upgrades the one before it
// and never drops data.
namespace schema {

int currentVersion();          // the version this build creates
int installedVersion(Connection &con); // 0 for a database without our tables
bool isEmptyDatabase(Connection &con); // no tables at all: safe to create ours
// Brings the database up to `target` (default: the current version), one step per
// transaction.
// Ends with attach.
void upgrade(Connection &con, int target = -1);
// Makes the suite's stored procedures callable on a connection to an up-to-date
// database: an embedded database runs them as code of this program, which each
// connection has to be given; a server database holds them already.
void attach(Connection &con);

} // namespace schema
} // namespace shop
