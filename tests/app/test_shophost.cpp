#include "support/TestDatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
};

HostRun shophost(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SHOPHOST_PATH), arguments);
    process.waitForFinished(60000);
    HostRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

class Shophost : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString db = dir.filePath("shop.db");
};

} // namespace

TEST_F(Shophost, CreatesDemoOnFirstStartAndLogsIn)
{
    const HostRun first = shophost({"--database", db, "--shop", "1", "--user", "2", "--date", "2026-12-06", "--check"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(first.out.contains("Created the demo data")) << first.out;
    EXPECT_TRUE(first.out.contains("nina")) << first.out;
    const HostRun second = shophost({"--database", db, "--check"});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_FALSE(second.out.contains("Created the demo data"));
}

TEST_F(Shophost, TurnsAwayBadLoginsWithOneMessage)
{
    ASSERT_EQ(shophost({"--database", db, "--check"}).exitCode, 0);
    const std::pair<QStringList, QString> cases[] = {
        {{"--user", "99"}, "User 99 is not a user of shop 1"},
        {{"--user", "2", "--shop", "2"}, "is not a user of shop 2"},
        {{"--shop", "42"}, "Shop 42 does not exist"},
        {{"--date", "06/12/2026"}, "--date"},
    };
    for (const auto &[arguments, message] : cases) {
        const HostRun run = shophost(QStringList{"--database", db, "--check"} + arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
}

TEST_F(Shophost, RefusesFilesThatAreNotShopDatabases)
{
    QFile text(dir.filePath("notes.db"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("This is a shopping list, not a database.\n");
    text.close();
    const HostRun garbage = shophost({"--database", text.fileName(), "--check"});
    EXPECT_EQ(garbage.exitCode, 1);
    EXPECT_TRUE(garbage.err.contains("not a shop database")) << garbage.err;
    EXPECT_EQ(garbage.err.count('\n'), 1) << garbage.err;

    const HostRun server = shophost({"--database", "postgresql://nobody@127.0.0.1:1/none", "--check"});
    EXPECT_EQ(server.exitCode, 1);
    EXPECT_TRUE(server.err.contains("Cannot open the database")) << server.err;
}
