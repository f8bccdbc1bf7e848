#include "common/db/Schema.h"
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

TEST_F(Shophost, CreatesDemoOnFirstStartLogsInAndTurnsAwayWhatItCannotUseWithOneMessage)
{
    const HostRun first = shophost({"--database", db, "--shop", "1", "--user", "2", "--date", "2026-12-06", "--check"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(first.out.contains("Created the demo data")) << first.out;
    EXPECT_TRUE(first.out.contains("nina")) << first.out;
    const HostRun second = shophost({"--database", db, "--check"});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_FALSE(second.out.contains("Created the demo data"));

    QFile text(dir.filePath("notes.db"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("This is a shopping list, not a database.\n");
    text.close();
    // A bad login, a file that is not ours or a server that is not there: exit 1 and a message.
    const std::tuple<QStringList, QString, bool> refusals[] = {
        {{"--database", db, "--user", "99"}, "User 99 is not a user of shop 1", true},
        {{"--database", db, "--user", "2", "--shop", "2"}, "is not a user of shop 2", true},
        {{"--database", db, "--shop", "42"}, "Shop 42 does not exist", true},
        {{"--database", text.fileName()}, "not a shop database", true},
        {{"--database", db, "--date", "06/12/2026"}, "--date", false}, // and where to find help
        {{"--database", "postgresql://nobody@127.0.0.1:1/none"}, "Cannot open the database", false}, // and the server's reason
    };
    for (const auto &[arguments, message, oneLine] : refusals) {
        const HostRun run = shophost(arguments + QStringList{"--check"});
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ');
        EXPECT_TRUE(run.err.contains(message)) << run.err;
        EXPECT_TRUE(!oneLine || run.err.count('\n') == 1) << run.err;
    }
}

TEST_F(Shophost, ResetsOnlyTheDemoAndFinishesAFirstStartThatWasCutShort)
{
    {
        // A first start stopped after the schema was made, before the demo was filled.
        auto con = shop::Connection::open(db);
        shop::schema::upgrade(*con);
    }
    const HostRun resumed = shophost({"--database", db, "--check"});
    ASSERT_EQ(resumed.exitCode, 0) << resumed.err;
    EXPECT_TRUE(resumed.out.contains("Created the demo data")) << resumed.out;

    auto con = shop::Connection::open(db);
    con->execute("delete from LOsPurchaseReturnDetail where wdshopid = 3");
    con->execute("delete from LOsPurchaseReturnHeader where whshopid = 3");
    EXPECT_EQ(shophost({"--database", db, "--reset-demo", "--check"}).exitCode, 0);
    EXPECT_EQ(con->scalar("select count(*) from LOsPurchaseReturnHeader where whshopid = 3").toInt(), 1);

    // Once the database holds a real company, the demo switch leaves it alone.
    con->execute("insert into acompanymaster (CompanyID, CurrencyID, name) values (2, 1, 'Another Ltd')");
    const HostRun refused = shophost({"--database", db, "--reset-demo", "--check"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("demo company only")) << refused.err;
    EXPECT_EQ(con->scalar("select count(*) from acompanymaster").toInt(), 2);
}
