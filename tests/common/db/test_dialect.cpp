#include "common/core/Conversions.h"
#include "common/db/Dialect.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

class DialectOnBackend : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam()};
    QString text(const QString &sql) { return db.con->scalar(sql).toString(); }
};

TEST_P(DialectOnBackend, NumericCastRoundsAndWritesThreeDecimals)
{
    EXPECT_EQ(text("select cast(cast(1.23456 as numeric(18,3)) as varchar(20))"), "1.235");
    EXPECT_EQ(text("select cast(cast(2 as numeric(18,3)) as varchar(20))"), "2.000");
    EXPECT_EQ(text("select cast(cast(-0.0005 as numeric(18,3)) as varchar(20))"), "-0.001");
}

TEST_P(DialectOnBackend, StringFunctionsBehaveLikeTheServer)
{
    EXPECT_EQ(text("select right('PR17', len('PR17')-2)"), "17");
    EXPECT_EQ(text("select right('PR', 0)"), "");
    // A bound count is taken once.
    EXPECT_EQ(db.con->scalar("select right('PR17', ?)", {2}).toString(), "17");
    EXPECT_EQ(db.con->scalar("select len('ab  ')").toInt(), 2);
    EXPECT_EQ(db.con->scalar("select len('  ab')").toInt(), 4);
}

TEST_P(DialectOnBackend, IsNumericIsNullAndConvert)
{
    EXPECT_EQ(db.con->scalar("select isnumeric('X5')").toInt(), 0);
    EXPECT_EQ(db.con->scalar("select isnumeric('17')").toInt(), 1);
    EXPECT_EQ(db.con->scalar("select isnumeric(' 3.5 ')").toInt(), 1);
    EXPECT_EQ(db.con->scalar("select isnull(NULL, 0)").toInt(), 0);
    EXPECT_EQ(db.con->scalar("select isnull(max(whid), 0) from LOsPurchaseReturnHeader").toInt(), 0);
    EXPECT_EQ(db.con->scalar("select convert(int, '17') + 1").toInt(), 18);
}

TEST_P(DialectOnBackend, DateLiteralIsADateWhereverItStands)
{
    for (const QDate &d : {QDate(2026, 11, 30), QDate(2026, 12, 1), QDate(2027, 1, 2)})
        db.con->execute("insert into losdayclose (shopid, closedate) values (?, ?)", {d.month(), d});
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose where closedate >= '20261201'").toInt(), 2);
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose where closedate < '20261201'").toInt(), 1);
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose where closedate between '20261201' and '20270102'").toInt(), 2);
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose where closedate in ('20261130', '20270102')").toInt(), 2);
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose, (select '20261201' as since) s "
                             "where closedate >= s.since").toInt(), 2);
    EXPECT_EQ(db.con->scalar("select count(*) from losdayclose where isnull(closedate, '20261201') < '20261201'").toInt(), 1);
    EXPECT_EQ(dateValue(db.con->scalar("select '20261201'")), QDate(2026, 12, 1));
    EXPECT_FALSE(db.con->scalar("select getdate()").toString().isEmpty());
}

TEST_P(DialectOnBackend, QuotedTextIsLeftAlone)
{
    EXPECT_EQ(text("select 'isnull(a,b) len(x) ''20261201'''"), "isnull(a,b) len(x) '20261201'");
    EXPECT_EQ(text("select 'PR20261201'"), "PR20261201");
    db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 1, ?)", {"20261201"});
    EXPECT_EQ(db.con->scalar("select count(*) from LOsPurchaseReturnHeader where whno like '20261201'").toInt(), 1);
}

SHOP_ON_ALL_BACKENDS(DialectOnBackend);

TEST(DialectText, RewritesOnlyCodeOutsideQuotes)
{
    SqliteDialect sqlite;
    EXPECT_EQ(sqlite.translate("select isnull(a, 'isnull(') from t"), "select ifnull(a, 'isnull(') from t");
    EXPECT_EQ(sqlite.translate("where d >= '20261201' and n = 'x'"), "where d >= '2026-12-01' and n = 'x'");
    EXPECT_EQ(sqlite.translate("where n like '20261201'"), "where n like '20261201'");
    PostgresDialect pg;
    EXPECT_EQ(pg.translate("select convert(int, x) from t"), "select cast(x as integer) from t");
    EXPECT_EQ(pg.translate("select myisnull(a, b)"), "select myisnull(a, b)");
}
