#include "EditorTestSupport.h"

#include "support/ModuleErrors.h"
#include "common/db/Schema.h"
#include "editor/DocumentNumbering.h"

namespace shop::test {
namespace {

class DocumentNumberingTest : public EditorTest {
protected:
    QString next(qint32 shopId) { return DocumentNumbering(con(), 1901, shopId).nextNumber(); }
    void store(qint32 shopId, qint32 id, const QString &number)
    {
        con().execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (?, ?, ?)", {shopId, id, number});
    }
};

TEST_P(DocumentNumberingTest, ContinuesFromTheShopsHighestNumericNumberUnderThePrefixOrWithout)
{
    // PR1..PR6 stored (one cancelled); PRX5's rest is not a number. "OLD" (past year)
    // and "GR" (another interface) are not the prefix.
    EXPECT_EQ(next(1), "PR7");
    store(1, 20, "PR9");
    store(1, 21, "PR10");
    store(2, 20, "PR500");
    EXPECT_EQ(next(1), "PR11");
    store(1, 22, "PR32767");
    EXPECT_EQ(next(1), "PR32768");

    con().execute("update aPrefix set Prefix = 'RET' where shopid = 1 and FinancialId = 2 and InterfaceID = 1901");
    EXPECT_EQ(next(1), "RET1");

    // Shop 3 has no prefix and holds "1".
    EXPECT_EQ(next(3), "2");
    store(3, 2, "7");
    store(3, 3, "A9");
    store(3, 4, "12B");
    store(1, 30, "50");
    EXPECT_EQ(next(3), "8");
}

TEST_P(DocumentNumberingTest, OverlappingPrefixesAndNumbersWithAPointStillGiveAFreeNumber)
{
    // Last year's prefix was "PR24": its numbers read as PR's 241, 242 and 2410.
    store(1, 20, "PR241");
    store(1, 21, "PR242");
    store(1, 22, "PR2410");
    EXPECT_EQ(next(1), "PR2411");
    con().execute("update aPrefix set Prefix = 'PR24' where shopid = 1 and FinancialId = 2 and InterfaceID = 1901");
    EXPECT_EQ(next(1), "PR2411") << "PR24's 10 is the highest; PR2411 is free";

    // A number typed with a point counts as its whole part.
    con().execute("update aPrefix set Prefix = 'PR' where shopid = 1 and FinancialId = 2 and InterfaceID = 1901");
    store(1, 23, "PR5000.");
    store(1, 24, "PR5000.9");
    EXPECT_EQ(next(1), "PR5001");

    // Past the running number's range the save is refused by the module, not the database.
    store(1, 25, "PR99999999999");
    EXPECT_EQ(errorNumberOf([&] { next(1); }), ModuleError::Overflow) << "a number past the range was handed out";
}

TEST_P(DocumentNumberingTest, RestsWithBlanksSignsAndPointsCountByTheirWholePart)
{
    con().execute("update aPrefix set Prefix = 'Q' where shopid = 1 and FinancialId = 2 and InterfaceID = 1901");
    const std::pair<const char *, const char *> cases[] = {
        {"Q.5", "Q1"},   {"Q 7 ", "Q8"},   {"Q+12", "Q13"},  {"Q-40", "Q13"}, {"Q\t20\n", "Q21"},
        {"Q1.2.3", "Q21"}, {"Q+-30", "Q21"}, {"Q3e9", "Q21"}, {"QQ99", "Q21"}, {"Q0021.7", "Q22"},
    };
    qint32 id = 50;
    for (const auto &[number, expected] : cases) {
        store(1, id++, number);
        EXPECT_EQ(next(1), expected) << "after " << number;
    }
}

TEST_P(DocumentNumberingTest, NumbersStoredBeforeTheUpgradeRemovedOrRenumberedAreFollowed)
{
    TestDatabase old(GetParam(), TestDatabase::Content::Empty);
    schema::upgrade(*old.con, 5);
    old.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo) values (1, 1, 'PR41'), (1, 2, 'PR9.'), "
                     "(1, 3, 'PRX77'), (2, 4, 'PR90')");
    schema::upgrade(*old.con);
    const auto nextOf = [&] { return DocumentNumbering(*old.con, 1901, 1).highestNumber("PR") + 1; };
    EXPECT_EQ(nextOf(), 42);
    old.con->execute("delete from LOsPurchaseReturnHeader where whid = 1");
    EXPECT_EQ(nextOf(), 10);
    old.con->execute("update LOsPurchaseReturnHeader set WhNo = 'PR300' where whid = 3");
    EXPECT_EQ(nextOf(), 301);
}

SHOP_ON_ALL_BACKENDS(DocumentNumberingTest);

} // namespace
} // namespace shop::test
