#include "common/db/Dialect.h"
#include "common/db/Schema.h"
#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;

namespace {

// Quantities are numeric(18,3) on both backends: sums, balances and the stock the
// procedures keep come out as exact decimals.
class ExactQuantities : public test::DemoTest {
protected:
    QVariant stock(int item) { return db.con->scalar("select stock from mosShopStock where shopid = 1 and itemid = ?", {item}); }
};

TEST_P(ExactQuantities, SumsAreExactAndALocationIssuedToNothingHoldsNoStock)
{
    // The back store receives 0.1 and 0.2 of cement and issues 0.3.
    for (const char *qty : {"0.1", "0.2"})
        db.con->execute("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, "
                        "ladItemId, ladItemQty, ladCancel) values (1001, 9, 2, 1, 7, ?, 0)",
                        {qty});
    db.con->execute("insert into losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId, lidDetailId, "
                    "lidLocationId, lidItemId, lidItemQty, lidCancel) values (1801, 1, 9, 1, 2, 7, '0.3', 0)");
    const QString balances =
        "select LocationId, Sum(qty) from (select ladLocationId LocationId, ladItemQty qty from loslocationArrivalDetails "
        "where ladShopId = ? and ladItemId = ? and ladCancel = 0 union all select lidLocationId, -lidItemQty "
        "from losLocationIssueDetails where lidShopId = ? and lidItemId = ? and lidCancel = 0) b "
        "group by LocationId HAVING Sum(qty) > 0 order by LocationId";
    EXPECT_EQ(test::rowsOf(*db.con, balances, {1, 7, 1, 7}), QStringList{});
    EXPECT_EQ(test::rowsOf(*db.con, balances, {1, 5, 1, 5}), QStringList({"1|8", "2|60"})) << "rows and order stay";

    EXPECT_EQ(db.con->scalar("select Sum(ladItemQty) from loslocationArrivalDetails where ladItemId = 7 "
                             "and ladTransId = 9").toDouble(), 0.3);
    EXPECT_EQ(db.con->scalar("select Sum(ladItemQty) - Sum(ladItemQty) + 0.3 from loslocationArrivalDetails "
                             "where ladItemId = 7 and ladTransId = 9").toDouble(), 0.3);
    // Whole numbers stay whole, and no rows sum to nothing.
    EXPECT_EQ(db.con->scalar("select Sum(ladTransId) from loslocationArrivalDetails where ladItemId = 7").toString(), "19");
    EXPECT_TRUE(db.con->scalar("select Sum(ladItemQty) from loslocationArrivalDetails where 1 = 0").isNull());
}

TEST_P(ExactQuantities, StockKeptByTheProceduresStaysOnThreeDecimals)
{
    db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 50, 'PR50')");
    db.con->execute("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdPurchaseReturnQty) "
                    "values (1, 50, 10, '0.001')");
    db.con->execute("update mosShopStock set stock = '37.07' where shopid = 1 and itemid = 10");
    for (int save = 0; save < 300; ++save)
        db.con->callProcedure("spUpdateshopWriteoff", {50, 1, "F", "P"});
    EXPECT_EQ(stock(10).toDouble(), 36.77);
    db.con->callProcedure("spUpdateshopPurchaseReturn", {50, 1, "P", "P"});
    EXPECT_EQ(stock(10).toDouble(), 36.771);
}

TEST_P(ExactQuantities, AnUpgradeRoundsQuantitiesStoredBeforeToThreeDecimals)
{
    db.con->execute("update mosShopStock set stock = ? where shopid = 1 and itemid = 10", {37.0700000000068});
    db.con->execute("update shop_schema_version set version = 3");
    schema::upgrade(*db.con);
    EXPECT_EQ(stock(10).toDouble(), 37.07);
}

} // namespace

SHOP_ON_ALL_BACKENDS(ExactQuantities);

TEST(DialectText, SumsAreExactOnSqliteAndLeftToTheServer)
{
    EXPECT_EQ(SqliteDialect().translate("select Sum(qty) from t having sum( qty ) > 0"),
              "select tsql_sum(qty) from t having tsql_sum(qty) > 0");
    EXPECT_EQ(PostgresDialect().translate("select Sum(qty) from t"), "select Sum(qty) from t");
}
