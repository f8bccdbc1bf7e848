#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>

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

SHOP_ON_ALL_BACKENDS(ConcurrentSavesTest);

} // namespace
} // namespace shop::test
