#pragma once

#include <rtnmod08/Connection.h>
#include "common/core/TextTable.h"

#include <QStringList>
#include <QVariant>

namespace shop::test {

// A value as tests compare it: "<null>" for null, numbers without trailing zeros so
// that both backends read the same ("2.500" and 2.5 give 2.5), dates in display form.
QString comparable(const QVariant &value);
// The rows of a statement as lines of comparable cells joined by '|', in its order.
QStringList rowsOf(Connection &con, const QString &statement, const QVariantList &values = {});
// The data rows of a table (the editor's allocation tables) in the same form.
QStringList rowsOf(const TextTable &table);
// Every row of the tables as sorted "table:row" lines, to compare a database before and after.
QStringList dumpTables(Connection &con, const QStringList &tables);

} // namespace shop::test
