#include "support/TestDatabase.h"

#include <rtnmod08/DemoData.h>
#include "common/db/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QUuid>
#include <cstdlib>
#include <stdexcept>

namespace shop::test {

QString testServerUrl() { return qEnvironmentVariable("SHOP_TEST_PG"); }

std::vector<Backend> testBackends()
{
    std::vector<Backend> backends{Backend::Sqlite};
    if (!testServerUrl().isEmpty())
        backends.push_back(Backend::Postgres);
    return backends;
}

std::string backendName(Backend backend)
{
    return backend == Backend::Postgres ? "PostgreSQL" : "SQLite";
}

TestDatabase::TestDatabase(Backend backend, Content content, const QString &server)
{
    if (backend == Backend::Postgres) {
        m_admin = Connection::open(server);
        m_schema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        m_admin->executeRaw(QStringLiteral("create schema ") + m_schema);
        m_location = server + (server.contains(QLatin1Char('?')) ? QStringLiteral("&") : QStringLiteral("?"))
            + QStringLiteral("schema=") + m_schema;
    } else {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary folder");
        m_location = m_dir.filePath(QStringLiteral("shop.db"));
    }
    con = Connection::open(m_location);
    if (content != Content::Empty)
        schema::upgrade(*con);
    if (content == Content::Demo)
        demo::populate(*con, QDate(2026, 12, 6));
}

TestDatabase::~TestDatabase()
{
    con.reset();
    if (m_admin && !m_schema.isEmpty()) {
        try {
            m_admin->executeRaw(QStringLiteral("drop schema ") + m_schema + QStringLiteral(" cascade"));
        } catch (...) {
        }
    }
}

} // namespace shop::test
