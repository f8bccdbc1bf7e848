#pragma once

#include <QString>

namespace shop {

// For the few places where a host contract takes SQL text (a table name with its
// condition, a condition for fnReturnField): the only ways a value may enter such text.

// 'text' with every apostrophe doubled.
QString sqlQuote(const QString &text);
// The decimal text of a number, independent of the user's locale.
QString sqlNumber(long long value);
inline QString sqlNumber(int value) { return sqlNumber(static_cast<long long>(value)); }
QString sqlNumber(double value);

} // namespace shop
