#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <iostream>

namespace shop::test {
namespace {

class ConcurrentSavesTest : public ::testing::TestWithParam<Backend> {};

// Two terminals save 200 new returns each for the same shop at the same time:
// every save is stored, under a number of its own, without a database error.
TEST_P(ConcurrentSavesTest, TwoTerminalsNeverStoreTheSameNumber)
{
    TestDatabase db(GetParam(), TestDatabase::Content::Demo);
    constexpr int kEach = 200;
    QProcess terminals[2];
    for (QProcess &p : terminals)
        p.start(QCoreApplication::applicationDirPath() + "/concurrent_saves", {db.location(), "1", QString::number(kEach)});
    QStringList printed;
    for (QProcess &p : terminals) {
        ASSERT_TRUE(p.waitForFinished(240000)) << p.errorString();
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 0) << errors;
        EXPECT_TRUE(errors.isEmpty()) << errors;
        printed += QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    const QStringList stored =
        rowsOf(*db.con, "select WhNo from LOsPurchaseReturnHeader where whShopID = 1 and WhRemarks like 'Terminal save %'");
    EXPECT_EQ(printed.size(), 2 * kEach);
    EXPECT_EQ(stored.size(), 2 * kEach);
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()).size(), 2 * kEach);
    EXPECT_EQ(QSet<QString>(stored.begin(), stored.end()), QSet<QString>(printed.begin(), printed.end()));
    EXPECT_EQ(db.con->scalar("select count(*) from LOsPurchaseReturnDetail where wdshopid = 1 and WdID > 7").toInt(),
              2 * kEach);
}

// A terminal of concurrent_saves driven a line at a time.
class Terminal {
public:
    explicit Terminal(const QString &location)
    {
        m_process.start(QCoreApplication::applicationDirPath() + "/concurrent_saves", {location, "1", "--serve"});
    }
    ~Terminal()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }
    void send(const QString &command)
    {
        m_process.write((command + '\n').toUtf8());
        m_process.waitForBytesWritten(10000); // now, not when its answer is awaited
    }
    QString answer()
    {
        while (!m_process.canReadLine() && m_process.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};

// An edit and a cancellation of the same return, sent to two terminals at the same
// moment, round after round: each round ends with the return cancelled and all its
// stock back once, or edited and not cancelled; the stock always equals what arrived
// less what the live returns issue, and no clerk sees a deadlock or any other error.
TEST_P(ConcurrentSavesTest, AnEditRacingACancellationNeverRevivesTheReturnNorCountsItsStockTwice)
{
    TestDatabase db(GetParam(), TestDatabase::Content::Demo);
    const auto stock = [&] {
        return rowsOf(*db.con, "select itemid, stock from mosShopStock where shopid = 1 and itemid in (1, 5) order by itemid");
    };
    const QStringList arrived = stock(); // no live return of the race yet
    Terminal terminals[2] = {Terminal(db.location()), Terminal(db.location())};
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    int editedFirst = 0;
    for (; rounds < 400 && (rounds < 20 || clock.elapsed() < 4000); ++rounds) {
        Terminal &editing = terminals[rounds % 2];
        Terminal &cancelling = terminals[1 - rounds % 2];
        editing.send("save");
        const QStringList saved = editing.answer().split(' ');
        ASSERT_EQ(saved.value(0), "saved") << saved.join(' ');
        // Whoever is sent first tends to win: each order in turn.
        const QString editCommand = "edit " + saved[1] + " 3";
        const QString cancelCommand = "cancel " + saved[1] + " " + saved[2];
        if ((rounds / 2) % 2 == 0) {
            editing.send(editCommand);
            cancelling.send(cancelCommand);
        } else {
            cancelling.send(cancelCommand);
            editing.send(editCommand);
        }
        const QString edit = editing.answer();
        const QString cancel = cancelling.answer();
        ASSERT_TRUE(edit == "edited " + saved[1] || edit == "refused This entry is already deleted") << edit;
        ASSERT_EQ(cancel, "cancelled " + saved[1]) << "round " << rounds;
        editedFirst += edit.startsWith("edited") ? 1 : 0;
        ASSERT_EQ(db.con->scalar("select whcancelled from LOsPurchaseReturnHeader where whshopid = 1 and whid = ?", {saved[1]})
                      .toInt(),
                  1);
        ASSERT_EQ(stock(), arrived) << "round " << rounds << ": all the stock back, once";
        ASSERT_EQ(db.con->scalar("select count(*) from losLocationIssueDetails where lidShopId = 1 and lidTransId = ? "
                                 "and lidInterfaceId = 1901 and lidCancel = 0",
                                 {saved[1]})
                      .toInt(),
                  0);
    }
    std::cout << "[          ] " << rounds << " rounds, the edit first in " << editedFirst << '\n';
}

SHOP_ON_ALL_BACKENDS(ConcurrentSavesTest);

} // namespace
} // namespace shop::test
