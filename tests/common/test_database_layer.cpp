#include "common/ModuleError.h"
#include "common/Schema.h"
#include "common/SqlText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

namespace {

// Everything a test might change, as text, to compare a database before and after.
QString dumpReturns(Connection &con)
{
    QString out;
    for (const char *sql : {"select * from LOsPurchaseReturnHeader order by whshopid, whid",
                            "select * from LOsPurchaseReturnDetail order by wdshopid, wdid, wditemid",
                            "select * from mosShopStock order by shopid, itemid"}) {
        const Recordset rs = con.query(QString::fromLatin1(sql));
        for (const QVariantList &row : rs.rows()) {
            for (const QVariant &v : row)
                out += v.toString() + QLatin1Char('|');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

QString stockOf(Connection &con, int item, int shopId)
{
    return con.scalar("select cast(cast(stock as numeric(18,3)) as varchar(20)) from mosShopStock "
                      "where itemid = ? and shopid = ?", {item, shopId}).toString();
}

} // namespace

class DatabaseLayer : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
};

TEST_P(DatabaseLayer, AwkwardTextSurvivesBoundAndQuoted)
{
    const QStringList texts{"O'Neill's ''quoted''", "-- not a comment", "a; drop table aItem;", "/* open",
                            "Crème brûlée – Ærø ÅÄÖ 東京", "'; delete from aItem where ''='"};
    int id = 100;
    for (const QString &text : texts) {
        db.con->execute("insert into aUnit (UnitId, UnitCode) values (?, ?)", {id, text});
        EXPECT_EQ(db.con->scalar("select UnitCode from aUnit where UnitId = ?", {id}).toString(), text);
        // The quoting helper is what host contracts taking SQL text rely on.
        EXPECT_EQ(db.con->scalar("select count(*) from aUnit where UnitCode = " + sqlQuote(text)).toInt(), 1) << text;
        ++id;
    }
    EXPECT_EQ(db.con->scalar("select count(*) from aItem").toInt(), 10);
}

TEST_P(DatabaseLayer, FailedStatementInsideTransactionLeavesNothingBehind)
{
    const QString before = dumpReturns(*db.con);
    db.con->beginTrans();
    try {
        db.con->execute("update mosShopStock set stock = stock - 1 where shopid = 1");
        db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 90, 'PR90')");
        db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 1, 'PR91')"); // key taken
        db.con->execute("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID) values (1, 90, 5)");
        db.con->commitTrans();
        FAIL() << "the duplicate key was accepted";
    } catch (const ModuleError &e) {
        db.con->rollbackTrans();
        EXPECT_FALSE(e.description().isEmpty());
    }
    EXPECT_FALSE(db.con->inTransaction());
    EXPECT_EQ(dumpReturns(*db.con), before);
}

TEST_P(DatabaseLayer, ProceduresKeepShopStockInStep)
{
    // Return 1 of shop 1 holds 5 of item 5 and 4 of item 1; shop 2 also has a return 1.
    const QString rice = stockOf(*db.con, 5, 1);
    const QString milk = stockOf(*db.con, 1, 1);
    const QString otherShop = stockOf(*db.con, 1, 2);
    db.con->beginTrans();
    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "F", "P"});
    EXPECT_EQ(stockOf(*db.con, 5, 1), "70.000");
    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "R", "P"});
    db.con->commitTrans();
    EXPECT_EQ(stockOf(*db.con, 5, 1), rice);
    EXPECT_EQ(stockOf(*db.con, 1, 1), milk);

    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "F", "P"});
    db.con->callProcedure("spUpdateshopPurchaseReturn", {1, 1, "P", "P"});
    EXPECT_EQ(stockOf(*db.con, 5, 1), rice);
    EXPECT_EQ(stockOf(*db.con, 1, 2), otherShop);
}

TEST_P(DatabaseLayer, ProcedureAddsStockRowForAnItemWithoutOne)
{
    db.con->execute("delete from mosShopStock where itemid = 6 and shopid = 1");
    db.con->callProcedure("spUpdateshopWriteoff", {2, 1, "F", "P"});
    EXPECT_EQ(stockOf(*db.con, 6, 1), "-2.000");
}

TEST_P(DatabaseLayer, FailuresAreModuleErrorsAndUnopenedConnectionRefuses)
{
    try {
        db.con->query("select nosuchcolumn from aItem");
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_NE(e.number(), 0);
        EXPECT_TRUE(e.source().contains("Shop database"));
    }
    Connection closed;
    EXPECT_THROW(closed.query("select 1"), ModuleError);
    EXPECT_THROW(closed.beginTrans(), ModuleError);
}

TEST_P(DatabaseLayer, DemoHoldsEveryCaseTheWindowsNeed)
{
    auto count = [&](const char *sql) { return db.con->scalar(QString::fromLatin1(sql)).toInt(); };
    EXPECT_EQ(count("select count(*) from ashops where LocationArrangement = 1"), 1);
    EXPECT_GE(count("select count(*) from ashops where LocationArrangement = 0"), 1);
    EXPECT_EQ(count("select count(*) from ashops where upper(substring(futurevarchar,1,1)) = 'B'"), 1);
    EXPECT_GE(count("select count(*) from aItem where ExpiryNoOfDays > 0"), 1);
    EXPECT_GE(count("select count(*) from aItem where SerialNoActive = 1 and SerialNodupli = 1"), 1);
    EXPECT_GE(count("select count(*) from aItem where SerialNoActive = 1 and SerialNodupli = 0"), 1);
    EXPECT_GE(count("select count(*) from aItem where SerialNoActive = 0 and ExpiryNoOfDays is null"), 1);
    EXPECT_GE(count("select count(*) from aItemPackingDetail"), 1);
    EXPECT_GE(count("select count(*) from ashopitemDetail"), 1);
    EXPECT_GE(count("select count(*) from loslocationArrivalDetails"), 1);
    EXPECT_GE(count("select count(*) from losExpiryArrivalDetails"), 1);
    EXPECT_GE(count("select count(*) from losSerialArrivalDetails"), 1);
    EXPECT_EQ(count("select count(*) from aPrefix p, aFinancialYear f where p.FinancialId = f.FinancialId "
                    "and f.CurFinancialYear = 1 and p.InterfaceID = 1901 and p.shopid = 1 and p.Prefix = 'PR'"), 1);
    for (const char *rights : {"ADMIN", "NEP", "NEDPB"})
        EXPECT_EQ(db.con->scalar("select count(*) from louserrights where interfaceid = 1901 and functionrights = ?",
                                 {QString::fromLatin1(rights)}).toInt(), 1) << rights;
    EXPECT_EQ(count("select count(*) from Lousers u where userid = 4 and not exists (select 1 from louserrights r "
                    "where r.userid = u.userid and r.interfaceid = 1901)"), 1);
    EXPECT_GE(count("select count(*) from LOsPurchaseReturnHeader where whcancelled = 1 and whOtherDepId is null"), 1);
    EXPECT_GE(count("select count(*) from LOsPurchaseReturnHeader where whposted = 1"), 1);
    EXPECT_GE(count("select count(*) from LOsPurchaseReturnHeader where Whtransfinished = 1"), 1);
    EXPECT_GE(count("select count(*) from LOsPurchaseReturnHeader where whdate < '20261206' and whcancelled = 0 "
                    "and whposted = 0 and Whtransfinished = 0"), 1);
    EXPECT_GE(count("select count(*) from atablecolumns c, atables t where c.tableid = t.tableid "
                    "and upper(t.tablename) = 'LOSPURCHASERETURNHEADER'"), 7);
    EXPECT_GE(count("select count(*) from alistviewdetails"), 10);
    EXPECT_GE(count("select count(*) from ashopprintmessages where transtype = 'POSPO'"), 1);
}

SHOP_ON_ALL_BACKENDS(DatabaseLayer);

class SchemaVersions : public ::testing::TestWithParam<Backend> {};

TEST_P(SchemaVersions, UpgradeKeepsRowsOfEarlierVersion)
{
    TestDatabase db(GetParam(), TestDatabase::Content::Empty);
    EXPECT_TRUE(schema::isEmptyDatabase(*db.con));
    schema::upgrade(*db.con, 1);
    EXPECT_EQ(schema::installedVersion(*db.con), 1);
    db.con->execute("insert into aUnit (UnitId, UnitCode) values (1, 'PCS')");
    schema::upgrade(*db.con);
    EXPECT_EQ(schema::installedVersion(*db.con), schema::currentVersion());
    EXPECT_EQ(db.con->scalar("select UnitCode from aUnit where UnitId = 1").toString(), "PCS");
    EXPECT_EQ(db.con->scalar("select count(*) from shop_error_log").toInt(), 0);
    schema::upgrade(*db.con); // nothing left to do
    EXPECT_EQ(schema::installedVersion(*db.con), schema::currentVersion());
}

SHOP_ON_ALL_BACKENDS(SchemaVersions);
