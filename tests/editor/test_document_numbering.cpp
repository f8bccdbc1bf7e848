#include "EditorTestSupport.h"

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

SHOP_ON_ALL_BACKENDS(DocumentNumberingTest);

} // namespace
} // namespace shop::test
