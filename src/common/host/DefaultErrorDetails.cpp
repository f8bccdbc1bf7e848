#include "common/host/DefaultErrorDetails.h"

#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"

#include <QTextStream>
#include <exception>

namespace shop {

namespace {

void logToStderr(const QString &why, const QString &moduleName, const QString &routine, long long number,
                 const QString &description)
{
    QTextStream(stderr) << "shop error (" << why << "): " << moduleName << " / " << routine.trimmed() << ": " << number
                        << " " << description << Qt::endl;
}

} // namespace

void DefaultErrorDetails::ErrorTrack(QString &moduleName, QString &userName, QString &routine, long long &number,
                                     QString &source, QString &description, QString &mode, bool &showToUser)
{
    const ConnectionPtr con = moduleState().gadocon;
    if (!con || !con->isOpen()) {
        logToStderr(QStringLiteral("no open database"), moduleName, routine, number, description);
    } else if (con->inTransaction()) {
        // A row written now would be rolled back with the caller's work, or on
        // PostgreSQL fail in an aborted transaction; the caller's transaction is its own.
        logToStderr(QStringLiteral("inside a transaction"), moduleName, routine, number, description);
    } else {
        try {
            con->execute(QStringLiteral("insert into shop_error_log (logged_at, window_name, user_name, routine, "
                                        "error_number, error_source, description, mode) "
                                        "values (getdate(), ?, ?, ?, ?, ?, ?, ?)"),
                         {moduleName, userName, routine, number, source, description, mode});
        } catch (const std::exception &e) {
            logToStderr(QString::fromLocal8Bit(e.what()), moduleName, routine, number, description);
        }
    }
    if (showToUser)
        Ui::current().message(description, MsgIcon::Critical, moduleState().gstrMessageTitle);
}

} // namespace shop
