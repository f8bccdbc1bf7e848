#include <rtnmod08/ModuleError.h>
#include "common/db/Schema.h"
#include "common/db/SqlText.h"
#include "support/ModuleErrors.h"
#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

class DatabaseLayer : public test::DemoTest {
protected:
    QString stockOf(int item, int shopId)
    {
        return db.con->scalar("select cast(cast(stock as numeric(18,3)) as varchar(20)) from mosShopStock "
                              "where itemid = ? and shopid = ?", {item, shopId}).toString();
    }
    int count(const QString &sql, const QVariantList &values = {}) { return db.con->scalar(sql, values).toInt(); }
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
        EXPECT_EQ(count("select count(*) from aUnit where UnitCode = " + sqlQuote(text)), 1) << text;
        ++id;
    }
    EXPECT_EQ(count("select count(*) from aItem"), 10);
}

TEST_P(DatabaseLayer, FailuresAreModuleErrorsAndAFailedTransactionLeavesNothingBehind)
{
    const QStringList tables{"LOsPurchaseReturnHeader", "LOsPurchaseReturnDetail", "mosShopStock"};
    const QStringList before = test::dumpTables(*db.con, tables);
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
    EXPECT_EQ(test::dumpTables(*db.con, tables), before);

    const std::optional<ModuleError> e = test::errorOf([&] { db.con->query("select nosuchcolumn from aItem"); });
    ASSERT_TRUE(e);
    EXPECT_NE(e->number(), 0);
    EXPECT_TRUE(e->source().contains("Shop database"));
    Connection closed;
    EXPECT_THROW(closed.query("select 1"), ModuleError);
    EXPECT_THROW(closed.beginTrans(), ModuleError);
}

TEST_P(DatabaseLayer, ProceduresKeepShopStockInStep)
{
    // Return 1 of shop 1 holds 5 of item 5 and 4 of item 1; shop 2 also has a return 1.
    const QString rice = stockOf(5, 1);
    const QString milk = stockOf(1, 1);
    const QString otherShop = stockOf(1, 2);
    db.con->beginTrans();
    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "F", "P"});
    EXPECT_EQ(stockOf(5, 1), "70.000");
    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "R", "P"});
    db.con->commitTrans();
    EXPECT_EQ(stockOf(5, 1), rice);
    EXPECT_EQ(stockOf(1, 1), milk);

    db.con->callProcedure("spUpdateshopWriteoff", {1, 1, "F", "P"});
    db.con->callProcedure("spUpdateshopPurchaseReturn", {1, 1, "P", "P"});
    EXPECT_EQ(stockOf(5, 1), rice);
    EXPECT_EQ(stockOf(1, 2), otherShop);

    // An item without a stock row gets one.
    db.con->execute("delete from mosShopStock where itemid = 6 and shopid = 1");
    db.con->callProcedure("spUpdateshopWriteoff", {2, 1, "F", "P"});
    EXPECT_EQ(stockOf(6, 1), "-2.000");
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

TEST(OpenDatabase, RefusesAMalformedServerAddressAndMakesANewFileWithItsJournalsTheOwnersOnly)
{
    // Each of these would otherwise reach the server's defaults (port 5432, say).
    for (const char *address : {"postgresql://shop@localhost:99999/shop", "postgresql://shop@localhost:abc/shop",
                                "postgresql://shop@localhost:0/shop", "postgresql://shop@local host/shop",
                                "postgresql:///shop?service=a%20b", "postgresql://shop@a:1,,b:2/shop",
                                "postgresql://shop@a:1,b:99999/shop", "postgresql://shop@a:1,b:x/shop",
                                "postgresql://shop@a,b/shop?target_session_attrs=any%20dbname=other"}) {
        const std::optional<ModuleError> e = test::errorOf([&] { Connection::open(address); });
        EXPECT_TRUE(e && e->description().contains("not a well-formed postgresql://")) << address;
    }

    QTemporaryDir dir;
    // The folders a new file needs are made, and are the owner's alone as well.
    const QString path = dir.filePath("shops/north/shop.db");
    auto con = Connection::open(path);
    con->executeRaw("create table t (a integer)");
    con->execute("insert into t (a) values (1)");
    for (const QString &file : {path, path + "-wal", path + "-shm"})
        EXPECT_EQ(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser), QFile::ReadOwner | QFile::WriteOwner)
            << file.toStdString();
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString &folder : {dir.filePath("shops"), dir.filePath("shops/north")})
        EXPECT_EQ(QFile::permissions(folder) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), ownerOnly)
            << folder.toStdString();
}

TEST(Recordsets, ACopyKeepsItsOwnRowsAndCurrentRow)
{
    Recordset original({"ItemCode"}, {{"RICE-5"}, {"SUG-1"}});
    Recordset copy = original;
    copy.moveNext();
    EXPECT_EQ(original.field("itemcode").toString(), "RICE-5");
    EXPECT_EQ(copy.field("ItemCode").toString(), "SUG-1");
    Recordset assigned;
    assigned = copy;
    copy = Recordset();
    EXPECT_EQ(assigned.field(0).toString(), "SUG-1");
    EXPECT_EQ(copy.recordCount(), 0);
    Recordset moved = std::move(assigned);
    moved.moveNext();
    EXPECT_TRUE(moved.eof());
}

TEST(OpenDatabase, AListOfHostsOpensTheFirstThatAcceptsWrites)
{
    // The test server listens on loopback too; port 1 is closed, as a dead primary's is.
    const QUrl server(qEnvironmentVariable("SHOP_TEST_PG"));
    if (server.isEmpty())
        GTEST_SKIP() << "no test server";
    const QString location = QString("postgresql://shop@127.0.0.1:1,127.0.0.1:%1/shoptest?target_session_attrs=read-write")
                                 .arg(server.port());
    const auto con = Connection::open(location);
    EXPECT_EQ(con->scalar("select inet_server_port()").toInt(), server.port());
    EXPECT_EQ(con->displayLocation(), location);
}
