#pragma once

#include <QString>

namespace shop {

// Whether the editor makes a new return or changes a stored one. The texts "N" and
// "E" are what the module-wide state, the audit rows and the error log hold.
enum class EntryMode { New, Stored };

// A detail line of the editor: added in this sitting or loaded from the stored return.
enum class LineMode { Added, Stored };

inline QString modeText(EntryMode mode) { return mode == EntryMode::Stored ? QStringLiteral("E") : QStringLiteral("N"); }
// Anything but "E" is a new entry, as the register has always treated it.
inline EntryMode entryModeOf(const QString &text) { return text == QLatin1String("E") ? EntryMode::Stored : EntryMode::New; }

inline QString lineModeText(LineMode mode) { return mode == LineMode::Stored ? QStringLiteral("E") : QStringLiteral("N"); }
inline LineMode lineModeOf(const QString &text) { return text == QLatin1String("E") ? LineMode::Stored : LineMode::Added; }

} // namespace shop
