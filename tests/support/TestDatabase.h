#pragma once

#include <rtnmod08/Connection.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace shop::test {

// The backends the tests run on: SQLite always, PostgreSQL when SHOP_TEST_PG holds
// a server URL (the test command starts a private server and sets it).
std::vector<Backend> testBackends();
std::string backendName(Backend backend);

// The server the tests run on (SHOP_TEST_PG), empty when there is none.
QString testServerUrl();

// A fresh database for one test or one size of a benchmark: a file in a temporary
// folder, or a schema of its own on the server (the test server unless another is
// named), dropped again afterwards.
class TestDatabase {
public:
    enum class Content { Empty, Schema, Demo };
    explicit TestDatabase(Backend backend, Content content = Content::Schema, const QString &server = testServerUrl());
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    ConnectionPtr con;
    const QString &location() const { return m_location; }

private:
    QTemporaryDir m_dir;
    QString m_location;
    QString m_schema;
    ConnectionPtr m_admin;
};

// A suite run once per backend, each test on a fresh demo database.
class DemoTest : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
};

} // namespace shop::test

// Lets test failures print Qt text.
inline std::ostream &operator<<(std::ostream &os, const QString &text) { return os << text.toStdString(); }
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace shop {
// Names the backend in test output instead of printing its bytes.
inline void PrintTo(Backend backend, std::ostream *os) { *os << test::backendName(backend); }
} // namespace shop

// Runs a parameterised suite once per backend.
#define SHOP_ON_ALL_BACKENDS(Suite) \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::ValuesIn(shop::test::testBackends()), \
                             [](const auto &param) { return shop::test::backendName(param.param); })
