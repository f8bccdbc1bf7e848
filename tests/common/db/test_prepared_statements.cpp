#include <rtnmod08/ModuleError.h>
#include "common/db/ConnectionInternals.h"
#include "common/db/Transaction.h"
#include "common/db/SqlText.h"
#include "common/host/DefaultCommonDB.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;

namespace {

class PreparedStatements : public test::DemoTest {
protected:
    QString codeOf(int item)
    {
        const Recordset rs = db.con->query("select itemcode from aItem where ItemId = ?", {item});
        return rs.isEmpty() ? QString("none") : rs.value(0, 0).toString();
    }
};

TEST_P(PreparedStatements, OneStatementRunsAgainWithOtherValuesAndSeesWhatWasWrittenMeanwhile)
{
    QStringList seen;
    setStatementObserver(*db.con, [&](const QString &kind, const QString &) { seen << kind; });
    EXPECT_EQ(codeOf(5), "RICE-5");
    EXPECT_EQ(codeOf(6), "SUG-1");
    EXPECT_EQ(codeOf(99), "none");
    {
        Transaction tx(*db.con); // a statement held open would block the write on SQLite
        db.con->execute("update aItem set itemcode = 'RICE-5X' where ItemId = 5");
        tx.commit();
    }
    EXPECT_EQ(codeOf(5), "RICE-5X");
    setStatementObserver(*db.con, {});
    EXPECT_EQ(seen, QStringList({"query", "query", "query", "begin", "execute", "commit", "query"}));
}

TEST_P(PreparedStatements, AStatementIsPreparedOnceAcrossTransactionsAndAgainAfterSchemaWork)
{
    const int before = statementsPrepared(*db.con);
    codeOf(5);
    for (int save = 0; save < 2; ++save) {
        Transaction tx(*db.con);
        db.con->execute("update aItem set itemcode = ? where ItemId = 5", {QString("RICE-%1").arg(save)});
        tx.commit();
        EXPECT_EQ(codeOf(5), QString("RICE-%1").arg(save));
    }
    EXPECT_EQ(statementsPrepared(*db.con), before + 2) << "the lookup and the update, once each";
    db.con->executeRaw("create table shop_scratch (a integer)");
    codeOf(5);
    EXPECT_EQ(statementsPrepared(*db.con), before + 3) << "schema work drops what was prepared";
}

TEST_P(PreparedStatements, AStatementThatCannotBePreparedFailsEachTimeAsAModuleError)
{
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_THROW(db.con->query("select nosuchcolumn from aItem where ItemId = ?", {1}), ModuleError);
    EXPECT_EQ(codeOf(1), "MLK-1L");
}

TEST_P(PreparedStatements, AHostConditionWithOtherNumbersOrTextIsTheSameStatement)
{
    DefaultCommonDB units;
    units.adocon = db.con;
    units.strTableName = "aItem i, aUnit u";
    const auto unitOf = [&](int item) {
        return units.fnReturnField("u.UnitCode", QString("i.UnitsId = u.UnitId AND i.ItemId = %1").arg(item)).toString();
    };
    DefaultCommonDB users;
    users.adocon = db.con;
    users.strTableName = "LOUSERS";
    const auto userOf = [&](const QString &name, int shop) {
        return users.fnReturnField("userid", QString("shopid = %1 and username = %2").arg(shop).arg(sqlQuote(name)));
    };
    const int before = statementsPrepared(*db.con);
    EXPECT_EQ(unitOf(5), "BAG");
    EXPECT_EQ(unitOf(999), "");
    EXPECT_EQ(userOf("nina", 1).toInt(), 2);
    EXPECT_TRUE(userOf("nina", 99).isNull());
    EXPECT_TRUE(userOf("o'nina", 1).isNull());
    users.strTableName = "LOsPurchaseReturnHeader where whshopid = 99";
    EXPECT_EQ(users.fnGetNextMaxNo("whid"), 1);
    EXPECT_EQ(users.fnGetNextMaxNo("whid"), 1);
    EXPECT_EQ(statementsPrepared(*db.con), before + 3) << "the unit, the user and the next number, once each";
}

TEST_P(PreparedStatements, AProcedureIsPreparedOnceASession)
{
    const int before = statementsPrepared(*db.con);
    for (int round = 0; round < 3; ++round) {
        Transaction tx(*db.con);
        for (const char *action : {"R", "F"}) // back and out again: stock as it was
            db.con->callProcedure("spUpdateshopWriteoff", {1, 1, QString(action), QString("P")});
        tx.commit();
    }
    // The server's function is one statement; the embedded one runs two of its own.
    EXPECT_EQ(statementsPrepared(*db.con), before + (GetParam() == Backend::Postgres ? 1 : 2));
}

SHOP_ON_ALL_BACKENDS(PreparedStatements);

} // namespace
