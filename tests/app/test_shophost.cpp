#include "common/db/Schema.h"
#include "printing/ModuleFolder.h"
#include "printing/PrintDestinations.h"
#include "printing/frmPrint.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QPushButton>
#include <QRegularExpression>

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

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The clock of the footer's user line, which two printouts a second apart do not share.
QByteArray withoutClock(QByteArray bytes)
{
    static const QRegularExpression clock(" - \\d\\d/\\d\\d/\\d{4} - \\d\\d:\\d\\d:\\d\\d\r\n$");
    return QString::fromLatin1(bytes).replace(clock, " - <clock>\r\n").toLatin1();
}

} // namespace

TEST_F(Shophost, PrintWritesThePrintoutOfAReturnOfTheShopAndRefusesOneThatIsNot)
{
    const QString out = dir.filePath("pr1.txt");
    const HostRun printed = shophost({"--database", db, "--print", "PR1", "--output", out});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    const QByteArray bytes = fileBytes(out);
    EXPECT_TRUE(bytes.contains("Harbour Market")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("Purchase Return No     :             PR1\r\n"));
    // Every line of the shipped settings' printout is at most 80 wide.
    for (const QByteArray &line : bytes.split('\n'))
        EXPECT_LE(line.size(), 81) << line.toStdString();

    // To standard output, nothing else on it.
    const HostRun toStdout = shophost({"--database", db, "--print", "PR1"});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(withoutClock(toStdout.out.toUtf8()), withoutClock(bytes));

    for (const QStringList &refused : {QStringList{"--print", "PR99"}, QStringList{"--print", "BC1"},
                                       QStringList{"--report", "PR99", "--output", dir.filePath("x.pdf")}}) {
        const HostRun run = shophost(QStringList{"--database", db} + refused);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("is not a purchase return of shop 1")) << run.err;
        // One line of ours; the platform may add a note of its own about the session.
        EXPECT_EQ(run.err.split('\n', Qt::SkipEmptyParts).filter(QRegularExpression("^shophost: ")).size(), 1) << run.err;
        EXPECT_FALSE(run.err.contains("shop error")) << run.err;
    }
    EXPECT_EQ(shophost({"--database", db, "--report", "PR1"}).exitCode, 1); // a PDF needs --output
}

TEST_F(Shophost, PrintGivesTheBytesOfTheDialogsToScreenFile)
{
    ASSERT_EQ(shophost({"--database", db, "--check"}).exitCode, 0);
    shop::test::ModuleStateScope session{shop::Connection::open(db)};
    session.login();
    shop::test::ScriptedUiScope ui;
    shop::setModuleFolder(QStringLiteral(SHOP_LIBRARY_DIR));
    QTemporaryDir dataHome; // where "To Screen" writes, the test's own
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    shop::frmPrint dialog("1");
    dialog.Form_Load();
    dialog.findChild<QPushButton *>("cmdOK")->click();
    const QByteArray screen = fileBytes(shop::screenFilePath());
    EXPECT_TRUE(shop::screenFilePath().startsWith(dataHome.path()));
    qputenv("XDG_DATA_HOME", savedDataHome);
    shop::setModuleFolder(QString());
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "ScreenViewer")
            w->close();

    const QString out = dir.filePath("pr1.txt");
    ASSERT_EQ(shophost({"--database", db, "--print", "PR1", "--output", out}).exitCode, 0);
    ASSERT_FALSE(screen.isEmpty());
    EXPECT_EQ(withoutClock(fileBytes(out)), withoutClock(screen));
}

TEST_F(Shophost, ReportWritesAPdfOfTheReturn)
{
    const QString pdf = dir.filePath("pr1.pdf");
    const HostRun run = shophost({"--database", db, "--report", "PR1", "--output", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";
    const QString content = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char *expected : {"PR1", "Harbour Market", "Long grain rice 5 kg", "5.000", "Fresh milk 1 L", "4.000"})
        EXPECT_TRUE(content.contains(expected)) << expected << " in " << content.toStdString();
}
