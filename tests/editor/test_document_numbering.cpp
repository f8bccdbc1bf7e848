#include "EditorTestSupport.h"

#include "editor/DocumentNumbering.h"

namespace shop::test {
namespace {

class DocumentNumberingTest : public EditorTest {
protected:
    QString next(qint32 shopId) { return DocumentNumbering(con(), 1901, shopId).nextNumber(); }
    void storeNumber(qint32 shopId, qint32 id, const QString &number)
    {
        con().execute(QStringLiteral("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, whcancelled) "
                                     "values (?, ?, ?, 0)"),
                      {shopId, id, number});
    }
};

TEST_P(DocumentNumberingTest, ContinuesFromTheHighestNumericNumberUnderThePrefix)
{
    // PR1..PR6 stored (one cancelled); PRX5 has a rest that is not a number.
    EXPECT_EQ(next(1), "PR7");
    storeNumber(1, 20, QStringLiteral("PR9"));
    storeNumber(1, 21, QStringLiteral("PR10"));
    EXPECT_EQ(next(1), "PR11") << "numbers compare as numbers, not as text";
    // Another shop's numbers never count, even under the same prefix.
    storeNumber(2, 20, QStringLiteral("PR500"));
    EXPECT_EQ(next(1), "PR11");
}

TEST_P(DocumentNumberingTest, APrefixWithoutStoredNumbersStartsAtOne)
{
    con().execute(QStringLiteral("update aPrefix set Prefix = ? where shopid = 1 and InterfaceID = 1901 and FinancialId = 2"),
                  {QStringLiteral("RET")});
    EXPECT_EQ(next(1), "RET1");
}

TEST_P(DocumentNumberingTest, OnlyTheCurrentFinancialYearAndTheInterfaceChooseThePrefix)
{
    DocumentNumbering numbering(con(), 1901, 1);
    EXPECT_EQ(numbering.prefix(), "PR"); // not "OLD" of the past year, not "GR" of interface 1001
    EXPECT_EQ(DocumentNumbering(con(), 1901, 3).prefix(), "");
}

TEST_P(DocumentNumberingTest, WithoutPrefixEveryWhollyNumericNumberOfTheShopCounts)
{
    // Shop 3 has no prefix and holds "1".
    EXPECT_EQ(next(3), "2");
    storeNumber(3, 2, QStringLiteral("7"));
    storeNumber(3, 3, QStringLiteral("A9"));
    storeNumber(3, 4, QStringLiteral("12B"));
    storeNumber(1, 30, QStringLiteral("50"));
    EXPECT_EQ(next(3), "8");
}

TEST_P(DocumentNumberingTest, RunningNumberGoesPast32767)
{
    storeNumber(1, 40, QStringLiteral("PR32767"));
    EXPECT_EQ(next(1), "PR32768");
    storeNumber(1, 41, QStringLiteral("PR32768"));
    EXPECT_EQ(next(1), "PR32769");
}

SHOP_ON_ALL_BACKENDS(DocumentNumberingTest);

} // namespace
} // namespace shop::test
