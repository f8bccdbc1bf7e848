#pragma once

#include <QString>
#include <functional>

namespace shop {

// Where every error trap of the module ends: hands the error to the host's error
// tracker (ErrorHandler.ErrorDetails) with the name of the user who met it. The
// number keeps only its last five digits, in the caller's variable too. Never throws.
void TrackError(const QString &moduleName, qint32 userId, const QString &routine, long long &number,
                const QString &source, const QString &description, const QString &mode, bool showToUser);

// An error met outside any exception, reported with the session's user and mode.
void TrackSessionError(const QString &moduleName, const QString &routine, long long number, const QString &source,
                       const QString &description, bool showToUser);

// The title of the module's messages, as Show set it.
QString sessionMessageTitle();

// The trap of an event handler: call inside a catch block. Reports the exception being
// handled with the session's user and mode.
void TrackCaughtError(const QString &moduleName, const QString &routine, bool showToUser = true);

// The handler guard: runs an event handler's body; whatever it throws is reported as
// TrackCaughtError reports it, under the window's name and the routine's fixed text, and
// goes no further. Returns whether the body ran to its end. Work the clerk did not ask
// for (keeping a draft) is only logged: its failure must not interrupt the clerk.
enum class Shown { ToUser, LogOnly };
bool guarded(const QString &moduleName, const QString &routine, const std::function<void()> &body,
             Shown shown = Shown::ToUser);

// What the exception being handled says: a module error's description, a standard
// exception's text, else the fallback. Call inside a catch block.
QString caughtErrorText(const QString &fallback);

} // namespace shop
