#pragma once

#include <rtnmod08/Export.h>
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>

#include <QSqlDatabase>
#include <QString>
#include <QHash>
#include <QVariantList>
#include <functional>
#include <memory>

namespace shop {

class Connection;

enum class Backend { None, Sqlite, Postgres };

// What is about to reach the database: the kind ("execute", "query",
// "procedure", "begin", "commit", "rollback") and the statement or procedure name.
// An observer may throw to make the step fail, which is how tests break a save
// at a chosen step.
using StatementObserver = std::function<void(const QString &kind, const QString &text)>;

// A stored procedure of the embedded database, run as code on the caller's connection.
using EmbeddedProcedure = std::function<void(Connection &, const QVariantList &)>;

// The module's one database connection (gadocon): a SQLite file or a PostgreSQL
// server. Statements are written in the suite's dialect and translated here;
// values always go in as bound parameters ('?' placeholders, in order).
// Every failure is raised as a ModuleError.
class RTNMOD08_EXPORT Connection {
public:
    Connection(); // an unopened connection: every statement fails
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // A SQLite file path (a new file is made readable by its owner only), or
    // postgresql://user@host:port/database (?host=/socket/dir, ?schema=name and
    // ?service=name are understood as well). The password is best left to ~/.pgpass
    // or PGPASSWORD; one in the address works but is never shown.
    static std::shared_ptr<Connection> open(const QString &location);
    static bool isServerLocation(const QString &location);

    bool isOpen() const;
    Backend backend() const { return m_backend; }
    const QString &location() const { return m_location; }
    // The location as messages and logs may show it: a server's password left out.
    QString displayLocation() const { return withoutPassword(m_location); }
    static QString withoutPassword(const QString &location);
    QString sourceName() const;

    void beginTrans();
    void commitTrans();
    void rollbackTrans(); // never throws; a connection already outside a transaction is left alone
    bool inTransaction() const { return m_inTransaction; }
    // The server went away and has not been reached again since.
    bool isLost() const { return m_lost; }
    // How many times the server was found gone on this connection: a step that went on
    // after reconnecting can still tell that its own statements were lost.
    int sessionsLost() const { return m_sessionsLost; }

    // A statement with values is prepared once on this connection and kept for its
    // next use (a scan runs the same balance statements for item after item).
    int execute(const QString &statement, const QVariantList &values = {});
    Recordset query(const QString &statement, const QVariantList &values = {});
    // First column of the first row; a null QVariant when there is no row.
    QVariant scalar(const QString &statement, const QVariantList &values = {});
    // Parameters by position after the return value.
    void callProcedure(const QString &name, const QVariantList &parameters);
    // Runs statements that take no values and are not translated (schema work); the
    // prepared statements are dropped, as the tables they read may have changed.
    void executeRaw(const QString &statement);
    // How many statements were prepared on this connection: a statement with values is
    // prepared once a session, whatever transactions run between its uses.
    int statementsPrepared() const { return m_statementsPrepared; }

    void setObserver(StatementObserver observer) { m_observer = std::move(observer); }
    // A procedure of an embedded database, callable on this connection (the schema
    // setup installs the suite's procedures).
    void installEmbeddedProcedure(const QString &name, EmbeddedProcedure procedure);

    QSqlDatabase database() const;

    // What a command says when the server went away under it, and when it cannot be
    // reached again yet. The next command after the server is back opens a fresh session.
    static const QString ServerLostMessage;
    static const QString ServerUnreachableMessage;
    // The number of a failure the server asks to be run again from the start (a
    // deadlock, a serialization failure); the transaction has been rolled back.
    static constexpr long long TransactionConflict = 40001;

private:
    void requireOpen() const;
    void ensureConnected();
    void prepareServerSession();
    void runUnprepared(const QString &statement);
    bool isLostConnection(const class QSqlError &error) const;
    // The server's session is gone (its client library says so), however the driver sees it.
    bool sessionBroken() const;
    // The statement prepared on this session; kept for the next call when `keep`.
    std::shared_ptr<class QSqlQuery> prepare(const QString &statement, bool keep);
    void notify(const QString &kind, const QString &text) const;
    Recordset readAll(class QSqlQuery &q) const;
    [[noreturn]] void fail(const QString &what, const class QSqlError &error) const;

    QString m_name;
    QString m_location;
    Backend m_backend = Backend::None;
    QString m_schema;
    // Set on a lost server: rollbacks and raised errors may come from const paths.
    mutable bool m_inTransaction = false;
    mutable bool m_lost = false;
    bool m_reached = false; // the first session was made
    mutable int m_sessionsLost = 0;
    int m_statementsPrepared = 0;
    StatementObserver m_observer;
    QHash<QString, EmbeddedProcedure> m_procedures;
    QHash<QString, std::shared_ptr<class QSqlQuery>> m_prepared;
};

using ConnectionPtr = std::shared_ptr<Connection>;

} // namespace shop
