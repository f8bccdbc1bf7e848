#include "HostSession.h"

#include "demo/DemoData.h"
#include "common/core/ModuleError.h"
#include "common/db/Schema.h"

#include <QDir>
#include <QFileInfo>

using namespace shop;

namespace {

ConnectionPtr openDatabase(const QString &location)
{
    if (!Connection::isServerLocation(location)) {
        const QFileInfo file(location);
        if (file.exists() && file.isDir())
            throw HostStartError(QStringLiteral("%1 is a folder, not a database file.").arg(location));
        if (!QDir().mkpath(file.absolutePath()))
            throw HostStartError(QStringLiteral("Cannot create the folder %1.").arg(file.absolutePath()));
    }
    try {
        return Connection::open(location);
    } catch (const ModuleError &e) {
        if (e.description().contains(QLatin1String("not a database"), Qt::CaseInsensitive))
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
        if (e.description().contains(QLatin1String("not a database"), Qt::CaseInsensitive))
            throw HostStartError(QStringLiteral("%1 is not a shop database.").arg(Connection::withoutPassword(options.database)));
        throw HostStartError(QStringLiteral("The database %1 could not be used.\n%2").arg(Connection::withoutPassword(options.database), e.description()));
    }
    return login;
}
