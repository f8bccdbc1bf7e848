#pragma once

#include <QString>
#include <QVariantList>

namespace shop {

// For the few places where a host contract takes SQL text (a table name with its
// condition, a condition for fnReturnField): the only ways a value may enter such text.

// 'text' with every apostrophe doubled.
QString sqlQuote(const QString &text);
// The decimal text of a number, independent of the user's locale.
QString sqlNumber(long long value);
inline QString sqlNumber(int value) { return sqlNumber(static_cast<long long>(value)); }
QString sqlNumber(double value);

// SQL text made by the module with its values written in (a host contract's table name
// and condition), turned into a statement with the same meaning whose compared values
// are bound: a number or quoted text right after =, <>, <, >, <= or >= becomes a `?`
// and its value, so that the text is the same for every value and is prepared once.
// Everything else stays as written: names (futurevarchar1), arguments, quoted
// 'yyyymmdd' dates (the dialect rewrites those), a value in arithmetic (= 5 + 1).
struct BoundSql {
    QString text;
    QVariantList values;
};
BoundSql bindComparedValues(const QString &sql);

} // namespace shop
