#pragma once

#include <QString>
#include <optional>

namespace shop {

// The value of a key in a key/value settings file (the shop's print settings).
// A line holds the key, one separating character, ":=" and the value:
//     PageWidth :=80
// Keys compare without regard to case. A missing key or file is told to the user
// and yields "".
QString FileCode(const QString &key, const QString &filePath);

// The value of a key that may be left out: nothing, and nothing told, when the key or
// the file is missing (the keys that must be there tell of the file).
std::optional<QString> OptionalFileCode(const QString &key, const QString &filePath);

} // namespace shop
