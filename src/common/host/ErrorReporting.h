#pragma once

#include <QString>

namespace shop {

// Where every error trap of the module ends: hands the error to the host's error
// tracker (ErrorHandler.ErrorDetails) with the name of the user who met it. The
// number keeps only its last five digits, in the caller's variable too. Never throws.
void TrackError(const QString &moduleName, qint32 userId, const QString &routine, long long &number,
                const QString &source, const QString &description, const QString &mode, bool showToUser);

// The trap of an event handler: call inside a catch block. Reports the exception being
// handled with the session's user and mode.
void TrackCaughtError(const QString &moduleName, const QString &routine, bool showToUser = true);

} // namespace shop
