#pragma once

#include <rtnmod08/Export.h>
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace shop {

/// The database product behind a Connection.
enum class Backend {
    None,    ///< not opened
    Sqlite,  ///< a SQLite file
    Postgres ///< a PostgreSQL server
};

/**
 * @brief The module's one database connection: a SQLite file or a PostgreSQL server.
 *
 * A host opens it with open() and hands it to clsShopWriteoff::setAdocon(); the module
 * and the host components it creates all work through it. Statements are written in the
 * suite's dialect and translated for the backend; values always go in as bound
 * parameters (`?` placeholders, in order), never spliced into the text.
 *
 * Every failure is raised as a ModuleError. A server that goes away is met again on the
 * next command: the command that found it gone raises ServerLostMessage, and a later one
 * opens a fresh session (or raises ServerUnreachableMessage while no server answers).
 *
 * Connections are shared (ConnectionPtr) and not copyable; use one from the thread that
 * opened it.
 */
class RTNMOD08_EXPORT Connection {
public:
    /// An unopened connection: every statement on it raises a ModuleError.
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    /**
     * @brief Opens a database.
     * @param location a SQLite file path, or
     *        `postgresql://user@host:port/database` (`?host=/socket/dir`, `?schema=name`
     *        and `?service=name` are understood as well; several `host:port` pairs name
     *        the nodes of a failover cluster). A new SQLite file is made readable by its
     *        owner only, as are the folders made for it. The password is best left to
     *        `~/.pgpass` or `PGPASSWORD`; one written in the address works but is never shown.
     * @return the open connection, owned by the caller (and by whoever it is handed to).
     * @throws ModuleError when the address is malformed, the driver is missing or the
     *         database cannot be opened.
     */
    static std::shared_ptr<Connection> open(const QString &location);
    /// True when `location` is a server address rather than a file path.
    static bool isServerLocation(const QString &location);

    /// True when the connection was opened and its database is open.
    bool isOpen() const;
    Backend backend() const;
    /// The location as given to open() (it may hold a password; see displayLocation()).
    const QString &location() const;
    /// The location as messages and logs may show it: a server's password left out.
    QString displayLocation() const;
    /// `location` with any password of a server address left out.
    static QString withoutPassword(const QString &location);
    /// The source named in this connection's ModuleErrors.
    QString sourceName() const;

    /// Starts a transaction. @throws ModuleError when one is already open or the server is gone.
    void beginTrans();
    /// Commits the open transaction. @throws ModuleError when none is open or the commit fails.
    void commitTrans();
    /// Rolls back the open transaction. Never throws; outside a transaction it does nothing.
    void rollbackTrans();
    bool inTransaction() const;
    /// The server went away and has not been reached again since.
    bool isLost() const;

    /**
     * @brief Runs a statement that returns no rows.
     * @return the number of rows it changed.
     * @throws ModuleError on any failure of the statement.
     */
    int execute(const QString &statement, const QVariantList &values = {});
    /// Runs a statement and returns all its rows. @throws ModuleError on failure.
    Recordset query(const QString &statement, const QVariantList &values = {});
    /// The first column of the first row; a null QVariant when there is no row.
    /// @throws ModuleError on failure.
    QVariant scalar(const QString &statement, const QVariantList &values = {});
    /// Calls one of the suite's stored procedures, parameters by position after the
    /// return value. @throws ModuleError when it is unknown or fails.
    void callProcedure(const QString &name, const QVariantList &parameters);
    /// Runs a statement that takes no values, untranslated (schema work).
    /// @throws ModuleError on failure.
    void executeRaw(const QString &statement);

    /// What a command raises when the server went away under it; nothing of the
    /// command was stored.
    static const QString ServerLostMessage;
    /// What a command raises while the server cannot be reached again.
    static const QString ServerUnreachableMessage;

private:
    friend struct ConnectionInternals;
    class Private;
    std::unique_ptr<Private> d;
};

/// How a connection is handed around: shared by the host, the module and its components.
using ConnectionPtr = std::shared_ptr<Connection>;

} // namespace shop
