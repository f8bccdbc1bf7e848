#include "common/db/ConnectionInternals.h"

#include "common/db/Dialect.h"

#include <rtnmod08/ModuleError.h>
#include "common/core/OwnerOnly.h"
#include "common/db/SqliteFunctions.h"

#include <libpq-fe.h>

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QSqlDriver>
#include <QThread>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <optional>

namespace shop {

namespace {

QAtomicInt g_connectionCounter;

long long errorNumber(const QSqlError &error)
{
    bool ok = false;
    const long long native = error.nativeErrorCode().toLongLong(&ok);
    return ok && native != 0 ? native : ModuleError::DatabaseFailure;
}

void bindAll(QSqlQuery &q, const QVariantList &values)
{
    // By position, so that a query prepared once takes new values each time.
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
}

// A server address as libpq takes it, with one host or several
// (postgresql://user@host1:port1,host2:port2/db?target_session_attrs=read-write).
// QUrl reads a single host only, so the list is taken out here and the rest (user,
// password, database, parameters) is read by QUrl with the first host in its place.
struct ServerAddress {
    QUrl url;          // the address with the first host alone
    QStringList hosts; // every host named, in order
    QStringList ports; // one per host; empty where the host names none
    QString hostList;  // the hosts and ports as written
    qsizetype hostListStart = 0;
};

std::optional<ServerAddress> splitServerAddress(const QString &location)
{
    ServerAddress address;
    const qsizetype authorityStart = location.indexOf(QLatin1String("://")) + 3;
    qsizetype authorityEnd = authorityStart;
    while (authorityEnd < location.size() && !QStringLiteral("/?#").contains(location.at(authorityEnd)))
        ++authorityEnd;
    const qsizetype at = location.lastIndexOf(QLatin1Char('@'), authorityEnd - 1);
    address.hostListStart = at >= authorityStart ? at + 1 : authorityStart;
    address.hostList = location.mid(address.hostListStart, authorityEnd - address.hostListStart);
    static const QRegularExpression entry(QStringLiteral("^(\\[[^\\]]*\\]|[^:\\[\\]]*)(?::([0-9]{1,5}))?$"));
    const QStringList entries = address.hostList.split(QLatin1Char(','));
    for (const QString &text : entries) {
        const auto m = entry.match(text);
        if (!m.hasMatch() || (entries.size() > 1 && m.captured(1).isEmpty()))
            return std::nullopt;
        const QString port = m.captured(2);
        if (!port.isEmpty() && (port.toInt() < 1 || port.toInt() > 65535))
            return std::nullopt;
        // libpq takes an IPv6 host without its brackets.
        address.hosts << (m.captured(1).startsWith(QLatin1Char('[')) ? m.captured(1).mid(1).chopped(1) : m.captured(1));
        address.ports << port;
    }
    address.url = QUrl(location.left(address.hostListStart) + entries.constFirst() + location.mid(authorityEnd),
                       QUrl::StrictMode);
    if (!address.url.isValid())
        return std::nullopt;
    return address;
}

std::chrono::milliseconds g_failoverWait{30000};
std::function<void(bool)> g_serverWaitObserver;

// The observer is told of a wait for the length of a scope, however it is left.
class ServerWait {
public:
    ServerWait()
    {
        if (g_serverWaitObserver)
            g_serverWaitObserver(true);
    }
    ~ServerWait()
    {
        if (g_serverWaitObserver)
            g_serverWaitObserver(false);
    }
    ServerWait(const ServerWait &) = delete;
    ServerWait &operator=(const ServerWait &) = delete;
};

// Every statement is kept prepared for its next use: the module binds its values, so
// its statements are few; past this many (schema work, a host's own text) all go.
constexpr qsizetype kPreparedLimit = 256;

} // namespace

// Nested in an exported class, its members would be exported too; a host never sees them.
class Q_DECL_HIDDEN Connection::Private {
public:
    explicit Private(Connection &con) : owner(con) {}
    ~Private();
    Private(const Private &) = delete;
    Private &operator=(const Private &) = delete;

    QSqlDatabase database() const;
    bool isOpen() const;
    QString sourceName() const;
    void requireOpen() const;
    void ensureConnected();
    void prepareServerSession();
    void executeRaw(const QString &statement);
    void runUnprepared(const QString &statement);
    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    int execute(const QString &statement, const QVariantList &values);
    Recordset query(const QString &statement, const QVariantList &values);
    QVariant scalar(const QString &statement, const QVariantList &values);
    void callProcedure(const QString &name, const QVariantList &parameters);
    void installEmbeddedProcedure(const QString &name, EmbeddedProcedure procedure);
    bool isLostConnection(const QSqlError &error) const;
    // The server's session is gone (its client library says so), however the driver sees it.
    bool sessionBroken() const;
    // The statement prepared on this session, kept for its next use.
    std::shared_ptr<QSqlQuery> prepare(const QString &statement);
    void notify(const QString &kind, const QString &text) const;
    void record(const QString &kind, const QString &text, const QVariantList &values) const;
    // The rows of an executed query; `fields` keeps the field names of a prepared
    // statement between its runs (filled at the first).
    Recordset readAll(QSqlQuery &query, QStringList &fields) const;
    void forgetPrepared();
    [[noreturn]] void fail(const QString &what, const QSqlError &error) const;

    Connection &owner; // the connection a stored procedure of the embedded database runs on
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
    StatementRecorder m_recorder;
    QHash<QString, EmbeddedProcedure> m_procedures;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    QHash<QString, QStringList> m_fieldNames; // of the prepared statements that were read
};

Connection::Connection() : d(std::make_unique<Private>(*this)) {}

Connection::~Connection() = default;

Connection::Private::~Private()
{
    forgetPrepared(); // the queries belong to the database, which goes next
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            if (m_inTransaction)
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::isOpen() const { return d->isOpen(); }
Backend Connection::backend() const { return d->m_backend; }
const QString &Connection::location() const { return d->m_location; }
QString Connection::displayLocation() const { return withoutPassword(d->m_location); }
QString Connection::sourceName() const { return d->sourceName(); }
void Connection::beginTrans() { d->beginTrans(); }
void Connection::commitTrans() { d->commitTrans(); }
void Connection::rollbackTrans() { d->rollbackTrans(); }
bool Connection::inTransaction() const { return d->m_inTransaction; }
bool Connection::isLost() const { return d->m_lost; }
int Connection::execute(const QString &statement, const QVariantList &values) { return d->execute(statement, values); }
Recordset Connection::query(const QString &statement, const QVariantList &values) { return d->query(statement, values); }
QVariant Connection::scalar(const QString &statement, const QVariantList &values) { return d->scalar(statement, values); }
void Connection::callProcedure(const QString &name, const QVariantList &parameters) { d->callProcedure(name, parameters); }
void Connection::executeRaw(const QString &statement) { d->executeRaw(statement); }

// The module's own reach into a connection (ConnectionInternals.h).
struct ConnectionInternals {
    static Connection::Private &of(const Connection &con) { return *con.d; }
};

void setStatementObserver(Connection &con, StatementObserver observer)
{
    ConnectionInternals::of(con).m_observer = std::move(observer);
}

void setStatementRecorder(Connection &con, StatementRecorder recorder)
{
    ConnectionInternals::of(con).m_recorder = std::move(recorder);
}

void installEmbeddedProcedure(Connection &con, const QString &name, EmbeddedProcedure procedure)
{
    ConnectionInternals::of(con).installEmbeddedProcedure(name, std::move(procedure));
}

QSqlDatabase sqlDatabase(const Connection &con) { return ConnectionInternals::of(con).database(); }
int statementsPrepared(const Connection &con) { return ConnectionInternals::of(con).m_statementsPrepared; }
int sessionsLost(const Connection &con) { return ConnectionInternals::of(con).m_sessionsLost; }

bool Connection::isServerLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::shared_ptr<Connection> Connection::open(const QString &location)
{
    auto con = std::make_shared<Connection>();
    con->d->m_location = location;
    con->d->m_name = QStringLiteral("shopreturns-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1));
    QString schema;
    if (isServerLocation(location)) {
        con->d->m_backend = Backend::Postgres;
        const std::optional<ServerAddress> address = splitServerAddress(location);
        const QUrl url = address ? address->url : QUrl();
        const QUrlQuery params(url);
        // A mistyped address must not reach the driver, which would try the defaults;
        // nor may a parameter carry further connection settings with it.
        static const QRegularExpression word(QStringLiteral("^[A-Za-z0-9_.-]*$"));
        const auto items = params.queryItems(QUrl::FullyDecoded);
        const bool plainParameters = std::all_of(items.begin(), items.end(), [](const auto &item) {
            return item.first == QLatin1String("host") || item.first == QLatin1String("password")
                || (word.match(item.first).hasMatch() && word.match(item.second).hasMatch());
        });
        if (!address || url.port() == 0 || !plainParameters)
            throw ModuleError(ModuleError::DatabaseFailure, con->sourceName(),
                              QStringLiteral("Cannot open the database: the server address is not a well-formed "
                                             "postgresql://user@host:port/database (a port from 1 to 65535)."));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), con->d->m_name);
        QStringList options{QStringLiteral("connect_timeout=5")};
        if (params.hasQueryItem(QStringLiteral("host"))) {
            db.setHostName(params.queryItemValue(QStringLiteral("host")));
            db.setPort(url.port());
        } else {
            // Several hosts go to libpq as lists, which it tries in order (with
            // target_session_attrs until one accepts writes). Without a port libpq
            // takes PGPORT, the service's or 5432.
            db.setHostName(address->hosts.size() == 1 ? url.host() : address->hosts.join(QLatin1Char(',')));
            if (address->hosts.size() == 1)
                db.setPort(url.port());
            else if (!address->ports.join(QString()).isEmpty())
                options << QStringLiteral("port=") + address->ports.join(QLatin1Char(','));
        }
        db.setDatabaseName(url.path().mid(1));
        db.setUserName(url.userName());
        // The password may also come as a parameter, as the server's own clients take it.
        db.setPassword(url.password().isEmpty() ? params.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded)
                                                : url.password());
        // The client library's other settings of the address (target_session_attrs,
        // sslmode and the like) go to it as they are; every session, the first and each
        // one after a lost server, is made from them, so that the library chooses anew
        // among the hosts of a list by what the address asks.
        for (const auto &[key, value] : params.queryItems(QUrl::FullyDecoded)) {
            // (service names an entry of the service file: host, port, database, user)
            static const QStringList ours{QStringLiteral("host"), QStringLiteral("schema"), QStringLiteral("password")};
            if (!ours.contains(key))
                options << key + QLatin1Char('=') + value;
        }
        db.setConnectOptions(options.join(QLatin1Char(';')));
        schema = params.queryItemValue(QStringLiteral("schema"));
    } else {
        con->d->m_backend = Backend::Sqlite;
        // A new file is its owner's alone; SQLite gives its -wal and -shm the same mode.
        if (location != QLatin1String(":memory:")) {
            const QString folder = QFileInfo(location).absolutePath();
            if (!makeOwnerOnlyFolder(folder))
                throw ModuleError(ModuleError::DatabaseFailure, con->sourceName(),
                                  QStringLiteral("Cannot create the folder %1.").arg(folder));
            createOwnerOnlyFile(location);
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), con->d->m_name);
        db.setDatabaseName(location);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    }
    QSqlDatabase db = con->d->database();
    if (!QSqlDatabase::isDriverAvailable(db.driverName()))
        throw ModuleError(ModuleError::DatabaseFailure, con->sourceName(),
                          QStringLiteral("The database driver %1 is not installed.").arg(db.driverName()));
    if (!db.open())
        con->d->fail(QStringLiteral("Cannot open the database %1").arg(con->displayLocation()), db.lastError());
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    con->d->m_reached = true;
    con->d->m_schema = schema;
    if (con->d->m_backend == Backend::Sqlite) {
        if (!registerSqliteFunctions(db))
            throw ModuleError(ModuleError::DatabaseFailure, con->sourceName(),
                              QStringLiteral("The SQLite driver does not allow functions to be added."));
        con->executeRaw(QStringLiteral("PRAGMA foreign_keys = ON"));
        // Reading the journal mode is the first real read of the file: a file that
        // is not a database fails here, not half-way through a window.
        con->executeRaw(QStringLiteral("PRAGMA journal_mode = WAL"));
    } else {
        con->d->prepareServerSession();
    }
    return con;
}

void Connection::Private::prepareServerSession()
{
    // Notices ("already exists, skipping") are not for the person at the keyboard.
    executeRaw(QStringLiteral("set client_min_messages = warning"));
    if (!m_schema.isEmpty())
        execute(QStringLiteral("select set_config('search_path', ?, false)"), {m_schema});
}

QString Connection::withoutPassword(const QString &location)
{
    if (!isServerLocation(location))
        return location;
    const std::optional<ServerAddress> address = splitServerAddress(location);
    QUrl url = address ? address->url : QUrl(location);
    url.setPassword(QString());
    QUrlQuery params(url);
    params.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(params.isEmpty() ? QString() : params.query());
    if (!address || address->hosts.size() == 1)
        return url.toString();
    // The other hosts back in the place of the first.
    const QString single = url.toString();
    const QString first = address->hostList.section(QLatin1Char(','), 0, 0);
    const qsizetype at = single.indexOf(first, single.indexOf(QLatin1String("://")) + 3);
    return at < 0 ? single : single.left(at) + address->hostList + single.mid(at + first.size());
}

bool Connection::Private::isLostConnection(const QSqlError &error) const
{
    // A server never reached is not lost: opening says what went wrong.
    if (m_backend != Backend::Postgres || !m_reached)
        return false;
    // The client library knows best: a session it has given up on is gone, whatever
    // the driver still calls it.
    if (sessionBroken() || error.type() == QSqlError::ConnectionError)
        return true;
    // Connection exceptions, and a server shutting down or starting up.
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return true;
    static const char *const signs[] = {"server closed the connection", "no connection to the server",
                                        "terminating connection", "could not connect", "connection to server",
                                        "could not receive data", "could not send data", "SSL SYSCALL"};
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    for (const char *sign : signs)
        if (text.contains(QLatin1String(sign), Qt::CaseInsensitive))
            return true;
    return false;
}

bool Connection::Private::sessionBroken() const
{
    if (m_backend != Backend::Postgres || m_name.isEmpty())
        return false;
    const QSqlDatabase db = database();
    if (!db.isOpen())
        return true;
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    const auto *session = *static_cast<PGconn *const *>(handle.data());
    return session == nullptr || PQstatus(session) == CONNECTION_BAD;
}

void Connection::Private::ensureConnected()
{
    if (!m_lost && !sessionBroken()) {
        requireOpen();
        return;
    }
    if (!m_lost)
        ++m_sessionsLost;
    m_lost = true;
    if (m_inTransaction) {
        // The open transaction went with the session: nothing of it may go on in a new one.
        m_inTransaction = false;
        throw ModuleError(ModuleError::ConnectionClosed, sourceName(), ServerLostMessage);
    }
    // The server went away since the last command: a fresh session, made as the first
    // one was, once the server is back. Of a cluster's hosts the client library takes
    // the one that accepts writes; the standby needs seconds to be promoted, so a list
    // of hosts is tried again for a while.
    forgetPrepared();
    QSqlDatabase db = database();
    const std::optional<ServerAddress> address = splitServerAddress(m_location);
    const QDeadlineTimer deadline(address && address->hosts.size() > 1 ? g_failoverWait : std::chrono::milliseconds(0));
    std::optional<ServerWait> waiting;
    for (;;) {
        db.close();
        if (db.open())
            break;
        if (deadline.hasExpired())
            throw ModuleError(ModuleError::ConnectionClosed, sourceName(), ServerUnreachableMessage);
        if (!waiting)
            waiting.emplace();
        QThread::msleep(500);
    }
    m_lost = false;
    prepareServerSession();
}

QSqlDatabase Connection::Private::database() const { return QSqlDatabase::database(m_name, false); }

bool Connection::Private::isOpen() const { return !m_name.isEmpty() && database().isOpen(); }

QString Connection::Private::sourceName() const
{
    switch (m_backend) {
    case Backend::Sqlite:
        return QStringLiteral("Shop database (SQLite)");
    case Backend::Postgres:
        return QStringLiteral("Shop database (PostgreSQL)");
    case Backend::None:
        break;
    }
    return QStringLiteral("Shop database connection");
}

void Connection::Private::requireOpen() const
{
    if (!isOpen())
        throw ModuleError(ModuleError::ConnectionClosed, sourceName(),
                          QStringLiteral("Operation is not allowed when the object is closed."));
}

void Connection::Private::notify(const QString &kind, const QString &text) const
{
    if (m_observer)
        m_observer(kind, text);
}

void Connection::Private::record(const QString &kind, const QString &text, const QVariantList &values) const
{
    if (m_recorder)
        m_recorder(SentStatement{kind, text, values});
}

const QString Connection::ServerLostMessage = QStringLiteral(
    "The connection to the database server was lost, so the last command was not carried out. "
    "Nothing of it was stored. Try it again when the server is back.");
const QString Connection::ServerUnreachableMessage = QStringLiteral(
    "The database server cannot be reached. Try again when it is back.");

void Connection::Private::fail(const QString &what, const QSqlError &error) const
{
    if (isLostConnection(error)) {
        // What the server had of an open transaction is gone with it.
        m_lost = true;
        ++m_sessionsLost;
        m_inTransaction = false;
        throw ModuleError(ModuleError::ConnectionClosed, sourceName(), ServerLostMessage);
    }
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty() && !isOpen())
        text = QStringLiteral("Operation is not allowed when the object is closed.");
    // A deadlock and a serialization failure are one case for the caller: run it all again.
    const QString state = error.nativeErrorCode();
    const long long number = m_backend == Backend::Postgres
            && (state == QLatin1String("40P01") || state == QLatin1String("40001"))
        ? TransactionConflict
        : errorNumber(error);
    throw ModuleError(number, sourceName(), what.isEmpty() ? text : what + QStringLiteral(": ") + text);
}

void Connection::Private::executeRaw(const QString &statement)
{
    ensureConnected();
    // Schema work may change what a prepared statement reads.
    forgetPrepared();
    runUnprepared(statement);
}

void Connection::Private::runUnprepared(const QString &statement)
{
    QSqlQuery q(database());
    if (!q.exec(statement))
        fail(QString(), q.lastError());
}

void Connection::Private::beginTrans()
{
    ensureConnected();
    if (m_inTransaction)
        throw ModuleError(ModuleError::DatabaseFailure, sourceName(), QStringLiteral("A transaction is already open."));
    notify(QStringLiteral("begin"), QString());
    // IMMEDIATE takes the file's write lock at once, so two terminals saving at
    // the same time wait for each other instead of failing half-way.
    // The statements prepared on the session stay: a transaction changes no table's shape.
    const QString begin = m_backend == Backend::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    record(QStringLiteral("begin"), begin, {});
    runUnprepared(begin);
    m_inTransaction = true;
}

void Connection::Private::commitTrans()
{
    if (!m_inTransaction)
        throw ModuleError(ModuleError::DatabaseFailure, sourceName(), QStringLiteral("No transaction is open."));
    notify(QStringLiteral("commit"), QString());
    record(QStringLiteral("commit"), QStringLiteral("COMMIT"), {});
    ensureConnected();
    runUnprepared(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Connection::Private::rollbackTrans()
{
    if (!m_inTransaction || !isOpen())
        return;
    m_inTransaction = false;
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}

std::shared_ptr<QSqlQuery> Connection::Private::prepare(const QString &statement)
{
    if (const auto found = m_prepared.constFind(statement); found != m_prepared.constEnd())
        return *found;
    auto q = std::make_shared<QSqlQuery>(database());
    ++m_statementsPrepared;
    q->setForwardOnly(true);
    if (!q->prepare(Dialect::of(m_backend).translate(statement)))
        fail(QString(), q->lastError());
    if (m_prepared.size() >= kPreparedLimit)
        forgetPrepared();
    m_prepared.insert(statement, q);
    return q;
}

int Connection::Private::execute(const QString &statement, const QVariantList &values)
{
    ensureConnected();
    notify(QStringLiteral("execute"), statement);
    record(QStringLiteral("execute"), statement, values);
    const std::shared_ptr<QSqlQuery> q = prepare(statement);
    bindAll(*q, values);
    if (!q->exec())
        fail(QString(), q->lastError());
    const int affected = q->numRowsAffected();
    q->finish();
    return affected;
}

Recordset Connection::Private::query(const QString &statement, const QVariantList &values)
{
    ensureConnected();
    notify(QStringLiteral("query"), statement);
    record(QStringLiteral("query"), statement, values);
    const std::shared_ptr<QSqlQuery> prepared = prepare(statement);
    QSqlQuery &q = *prepared;
    bindAll(q, values);
    if (!q.exec())
        fail(QString(), q.lastError());
    return readAll(q, m_fieldNames[statement]);
}

void Connection::Private::forgetPrepared()
{
    m_prepared.clear();
    m_fieldNames.clear();
}

Recordset Connection::Private::readAll(QSqlQuery &q, QStringList &fields) const
{
    // A statement run again reads the same fields: their names are taken once.
    if (fields.isEmpty()) {
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            fields << record.fieldName(i);
    }
    const qsizetype columns = fields.size();
    std::vector<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (qsizetype i = 0; i < columns; ++i)
            row << q.value(static_cast<int>(i));
        rows.push_back(std::move(row));
    }
    if (q.lastError().isValid())
        fail(QString(), q.lastError());
    // A finished query holds no read lock or snapshot while it waits for its next use.
    q.finish();
    return Recordset(fields, std::move(rows));
}

QVariant Connection::Private::scalar(const QString &statement, const QVariantList &values)
{
    const Recordset rs = query(statement, values);
    if (rs.isEmpty() || rs.fieldCount() == 0)
        return {};
    return rs.value(0, 0);
}

void Connection::Private::callProcedure(const QString &name, const QVariantList &parameters)
{
    ensureConnected();
    if (m_observer) {
        QStringList shown;
        for (const QVariant &p : parameters)
            shown << p.toString();
        notify(QStringLiteral("procedure"), name + QLatin1Char(' ') + shown.join(QLatin1Char(',')));
    }
    record(QStringLiteral("procedure"), name, parameters);
    if (m_backend == Backend::Postgres) {
        // Kept prepared like any statement: a save calls the same procedure again and again.
        const std::shared_ptr<QSqlQuery> q =
            prepare(QStringLiteral("select %1(%2)").arg(name, QStringList(parameters.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        bindAll(*q, parameters);
        if (!q->exec())
            fail(QString(), q->lastError());
        q->finish();
        return;
    }
    const EmbeddedProcedure procedure = m_procedures.value(name.toLower());
    if (!procedure)
        throw ModuleError(ModuleError::DatabaseFailure, sourceName(),
                          QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    procedure(owner, parameters);
}

void Connection::Private::installEmbeddedProcedure(const QString &name, EmbeddedProcedure procedure)
{
    m_procedures.insert(name.toLower(), std::move(procedure));
}

void setFailoverWait(std::chrono::milliseconds wait) { g_failoverWait = wait; }

std::chrono::milliseconds failoverWait() { return g_failoverWait; }

void setServerWaitObserver(std::function<void(bool waiting)> observer) { g_serverWaitObserver = std::move(observer); }

} // namespace shop
