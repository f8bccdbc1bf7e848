#pragma once

class QSqlDatabase;

namespace shop {

// Gives an open SQLite connection the helper functions that the SQLite dialect's
// rewrites call (tsql_isnumeric, tsql_numeric, tsql_right and the exact sum tsql_sum).
// Returns false when the driver does not hand out its handle.
bool registerSqliteFunctions(const QSqlDatabase &db);

} // namespace shop
