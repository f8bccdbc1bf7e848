#include "common/host/ErrorReporting.h"

#include <rtnmod08/HostComponents.h>
#include "common/host/ModuleCommonDB.h"
#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleState.h"
#include "common/db/SqlText.h"

#include <QTextStream>
#include <exception>

namespace shop {

namespace {

// Database errors carry long native numbers; the tracker keeps the last five digits.
long long lastFiveDigits(long long number) { return QString::number(number).right(5).toLongLong(); }

QString userNameOf(qint32 userId)
{
    try {
        const auto commonDb = newCommonDB(QStringLiteral("LOUSERS where userid=") + sqlNumber(userId)
                                          + QStringLiteral(" and shopid = ") + sqlNumber(moduleState().gintShopID));
        return commonDb->fnReturnField(QStringLiteral("username")).toString();
    } catch (...) {
        // The error being reported may well be the database's own; report it anyway.
        return QString();
    }
}

} // namespace

void TrackError(const QString &moduleName, qint32 userId, const QString &routine, long long &number,
                const QString &source, const QString &description, const QString &mode, bool showToUser)
{
    number = lastFiveDigits(number);
    try {
        const auto tracker = ComponentRegistry::create<ErrorDetails>(progid::ErrorTracker);
        QString name = moduleName;
        QString userName = userNameOf(userId);
        QString routineName = routine;
        long long errorNumber = number;
        QString errorSource = source;
        QString errorDescription = description;
        QString errorMode = mode;
        bool show = showToUser;
        tracker->ErrorTrack(name, userName, routineName, errorNumber, errorSource, errorDescription, errorMode, show);
    } catch (const std::exception &e) {
        QTextStream(stderr) << "shop error not tracked (" << e.what() << "): " << moduleName << " / " << routine << ": "
                            << number << " " << description << Qt::endl;
    } catch (...) {
        QTextStream(stderr) << "shop error not tracked: " << moduleName << " / " << routine << ": " << number << " "
                            << description << Qt::endl;
    }
}

void TrackCaughtError(const QString &moduleName, const QString &routine, bool showToUser)
{
    constexpr long long internalError = 51;
    long long number = internalError;
    QString source = QStringLiteral("rtnmod08");
    QString description = QStringLiteral("Internal error");
    if (const std::exception_ptr caught = std::current_exception()) {
        try {
            std::rethrow_exception(caught);
        } catch (const ModuleError &e) {
            number = e.number();
            source = e.source();
            description = e.description();
        } catch (const std::exception &e) {
            description = QString::fromLocal8Bit(e.what());
        } catch (...) {
        }
    }
    TrackSessionError(moduleName, routine, number, source, description, showToUser);
}

void TrackSessionError(const QString &moduleName, const QString &routine, long long number, const QString &source,
                       const QString &description, bool showToUser)
{
    const ModuleState &state = moduleState();
    TrackError(moduleName, state.gintUserID, routine, number, source, description, state.gstrMode, showToUser);
}

QString sessionMessageTitle() { return moduleState().gstrMessageTitle; }

bool guarded(const QString &moduleName, const QString &routine, const std::function<void()> &body, Shown shown)
{
    try {
        body();
        return true;
    } catch (...) {
        TrackCaughtError(moduleName, routine, shown == Shown::ToUser);
        return false;
    }
}

QString caughtErrorText(const QString &fallback)
{
    try {
        throw;
    } catch (const ModuleError &e) {
        return e.description();
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return fallback;
    }
}

} // namespace shop
