#pragma once

// What the module's own code and its tests reach on a connection beyond what a host
// calls: the statement watch, the embedded procedures, the driver's handle, counters
// and the failover wait. None of it is exported from the library.
#include <rtnmod08/Connection.h>

#include <QSqlDatabase>
#include <chrono>
#include <functional>

namespace shop {

// What is about to reach the database: the kind ("execute", "query", "procedure",
// "begin", "commit", "rollback") and the statement or procedure name. An observer may
// throw to make the step fail, which is how tests break a save at a chosen step.
using StatementObserver = std::function<void(const QString &kind, const QString &text)>;
void setStatementObserver(Connection &con, StatementObserver observer);

// Every step as the connection sends it, with its values, so that a benchmark can run
// the very same work on bare queries. `text` is a statement as the caller wrote it
// (before the backend's rewriting), a procedure's name ("procedure"), or the BEGIN or
// COMMIT the connection runs ("begin", "commit"); on SQLite an embedded procedure's
// own statements follow its entry.
struct SentStatement {
    QString kind;
    QString text;
    QVariantList values;
};
using StatementRecorder = std::function<void(const SentStatement &)>;
void setStatementRecorder(Connection &con, StatementRecorder recorder);

// A stored procedure of the embedded database, run as code on the caller's connection.
using EmbeddedProcedure = std::function<void(Connection &, const QVariantList &)>;
void installEmbeddedProcedure(Connection &con, const QString &name, EmbeddedProcedure procedure);

// The driver's database, for work the connection does not wrap (query plans, raw baselines).
QSqlDatabase sqlDatabase(const Connection &con);

// How many statements were prepared on the connection: a statement with values is
// prepared once a session, whatever transactions run between its uses.
int statementsPrepared(const Connection &con);
// How many times the server was found gone on the connection: a step that went on
// after reconnecting can still tell that its own statements were lost.
int sessionsLost(const Connection &con);

// The number of a failure the server asks to be run again from the start (a deadlock,
// a serialization failure); the transaction has been rolled back.
inline constexpr long long TransactionConflict = 40001;

// A connection whose address names several hosts (a failover cluster) waits this long
// after a lost server for one of them to accept writes again, trying every half second,
// before the command fails with the unreachable message.
void setFailoverWait(std::chrono::milliseconds wait);
std::chrono::milliseconds failoverWait();
// Told `true` when a command starts waiting for a server and `false` when the wait
// ends; the module shows the hourglass meanwhile.
void setServerWaitObserver(std::function<void(bool waiting)> observer);

} // namespace shop
