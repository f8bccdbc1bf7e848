#pragma once

#include <QString>

namespace shop {

// Whether the editor makes a new return or changes a stored one. The texts "N" and
// "E" are what the module-wide state, the audit rows and the error log hold.
enum class EntryMode { New, Stored };

// What the item window does with the editor's lines: add one or change the current one.
enum class LineMode { Add, Edit };

inline QString modeText(EntryMode mode) { return mode == EntryMode::Stored ? QStringLiteral("E") : QStringLiteral("N"); }
// Anything but "E" is a new entry, as the register has always treated it.
inline EntryMode entryModeOf(const QString &text) { return text == QLatin1String("E") ? EntryMode::Stored : EntryMode::New; }


} // namespace shop
