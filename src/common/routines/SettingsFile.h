#pragma once

#include <QString>

namespace shop {

// The value of a key in a key/value settings file (the shop's print settings).
// A line holds the key, one separating character, ":=" and the value:
//     PageWidth :=80
// Keys compare without regard to case. A missing key or file is told to the user
// and yields "".
QString FileCode(const QString &key, const QString &filePath);

} // namespace shop
