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
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/concurrent_saves");
    constexpr int kEach = 200;
    QProcess terminals[2];
    for (QProcess &p : terminals)
        p.start(program, {db.location(), QStringLiteral("1"), QString::number(kEach)});
    QStringList printed;
    for (QProcess &p : terminals) {
        ASSERT_TRUE(p.waitForFinished(240000)) << p.errorString().toStdString();
        const QString errors = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 0) << errors.toStdString();
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        printed += QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    EXPECT_EQ(printed.size(), 2 * kEach);
    EXPECT_EQ(QSet<QString>(printed.begin(), printed.end()).size(), 2 * kEach);

    const Recordset stored = db.con->query(QStringLiteral("select WhNo from LOsPurchaseReturnHeader where whShopID = 1 "
                                                          "and WhRemarks like 'Terminal save %'"));
    QSet<QString> numbers;
    for (const QVariantList &row : stored.rows())
        numbers.insert(row.at(0).toString());
    EXPECT_EQ(stored.recordCount(), 2 * kEach);
    EXPECT_EQ(numbers.size(), 2 * kEach);
    EXPECT_EQ(numbers, QSet<QString>(printed.begin(), printed.end()));
    EXPECT_EQ(db.con->scalar(QStringLiteral("select count(*) from LOsPurchaseReturnDetail where wdshopid = 1 and WdID > 7")).toInt(),
              2 * kEach);
}

SHOP_ON_ALL_BACKENDS(ConcurrentSavesTest);

} // namespace
} // namespace shop::test
