#include "HostSession.h"

#include <rtnmod08/Database.h>
#include <rtnmod08/DemoData.h>
#include <rtnmod08/ModuleError.h>

#include <QFileInfo>

using namespace shop;

namespace {

// SQLite's own word for a file that is something else; a server may say it of a
// database whose name holds those words.
bool notADatabaseFile(const QString &location, const ModuleError &e)
{
    return !Connection::isServerLocation(location)
        && e.description().contains(QLatin1String("not a database"), Qt::CaseInsensitive);
}

ConnectionPtr openDatabase(const QString &location)
{
    if (!Connection::isServerLocation(location)) {
        const QFileInfo file(location);
        if (file.exists() && file.isDir())
            throw HostStartError(QStringLiteral("%1 is a folder, not a database file.").arg(location));
    }
    // Opening makes the missing folders of a new file, its owner's alone.
    try {
        return Connection::open(location);
    } catch (const ModuleError &e) {
        if (notADatabaseFile(location, e))
            throw HostStartError(QStringLiteral("%1 is not a shop database.").arg(location));
        // The description already names the database and says why it could not be opened.
        throw HostStartError(e.description().simplified());
    }
}

} // namespace

HostLogin startHostSession(const HostOptions &options)
{
    HostLogin login;
    login.connection = openDatabase(options.database);
    Connection &con = *login.connection;
    try {
        const int installed = schema::installedVersion(con);
        if (installed == 0 && !schema::isEmptyDatabase(con))
            throw HostStartError(QStringLiteral("%1 holds other data and is not a shop database.").arg(Connection::withoutPassword(options.database)));
        if (installed > schema::currentVersion())
            throw HostStartError(QStringLiteral("%1 was made by a newer version of the module (schema %2; this one "
                                                "knows schema %3 at most). Use that version with it.")
                                     .arg(Connection::withoutPassword(options.database))
                                     .arg(installed)
                                     .arg(schema::currentVersion()));
        if (installed < schema::currentVersion())
            schema::upgrade(con);
        // A first start cut short after the schema was made still gets its demo.
        if (installed == 0 || demo::isUnfilled(con)) {
            demo::populate(con, options.processDate);
            login.createdDemo = true;
        } else if (options.resetDemo) {
            demo::recreate(con, options.processDate);
            login.createdDemo = true;
        }
        if (con.scalar(QStringLiteral("select count(*) from ashops where ShopID = ?"), {options.shopId}).toInt() == 0)
            throw HostStartError(QStringLiteral("Shop %1 does not exist.").arg(options.shopId));
        login.shopName = con.scalar(QStringLiteral("select shopname from ashops where ShopID = ?"), {options.shopId}).toString();
        const QVariant user = con.scalar(QStringLiteral("select username from Lousers where userid = ? and shopid = ?"),
                                         {options.userId, options.shopId});
        if (user.isNull())
            throw HostStartError(QStringLiteral("User %1 is not a user of shop %2 (%3).")
                                     .arg(options.userId).arg(options.shopId).arg(login.shopName));
        login.userName = user.toString().trimmed();
    } catch (const ModuleError &e) {
        if (notADatabaseFile(options.database, e))
            throw HostStartError(QStringLiteral("%1 is not a shop database.").arg(Connection::withoutPassword(options.database)));
        throw HostStartError(QStringLiteral("The database %1 could not be used.\n%2").arg(Connection::withoutPassword(options.database), e.description()));
    }
    return login;
}
