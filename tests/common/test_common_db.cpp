#include "common/DefaultCommonDB.h"
#include "common/HostComponents.h"
#include "common/ModuleError.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

TEST(ComponentRegistry, FindsNamesWithoutRegardToCaseAndRefusesUnknownOnes)
{
    EXPECT_NE(ComponentRegistry::create<clsCommonDB>("commonmodule.CLSCOMMONDB"), nullptr);
    try {
        ComponentRegistry::createObject("CommonModule.clsNothing");
        FAIL() << "an unknown component was created";
    } catch (const ModuleError &e) {
        EXPECT_EQ(e.number(), 429);
        EXPECT_EQ(e.description(), "ActiveX component can't create object");
    }
}

class CommonDBOnDemo : public ::testing::TestWithParam<Backend> {};

TEST_P(CommonDBOnDemo, ReadsFirstValueNextNumberAndComboRows)
{
    TestDatabase db(GetParam(), TestDatabase::Content::Demo);
    const auto commonDb = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
    commonDb->adocon = db.con;
    commonDb->strTableName = "LOUSERS where userid=2 and shopid = 1";
    EXPECT_EQ(commonDb->fnReturnField("username").toString(), "nina");
    commonDb->strTableName = "aItem i, aUnit u";
    EXPECT_EQ(commonDb->fnReturnField("u.UnitCode", "i.UnitsId = u.UnitId AND i.ItemId = 5").toString(), "BAG");
    EXPECT_TRUE(commonDb->fnReturnField("u.UnitCode", "i.UnitsId = u.UnitId AND i.ItemId = 999").isNull());

    commonDb->strTableName = "LOsPurchaseReturnHeader where whshopid = 1";
    EXPECT_EQ(commonDb->fnGetNextMaxNo("whid"), 8);
    commonDb->strTableName = "LOsPurchaseReturnHeader where whshopid = 99";
    EXPECT_EQ(commonDb->fnGetNextMaxNo("whid"), 1);

    QComboBox combo;
    combo.addItem("stale");
    commonDb->strTableName = "adepartmentmaster";
    commonDb->populateComboorList(&combo, "DepartmentID", "DepartmentName", "depcurrencyid = 1 order by DepartmentID");
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), "Retail");
    EXPECT_EQ(combo.itemData(1).toInt(), 12);
}

SHOP_ON_ALL_BACKENDS(CommonDBOnDemo);

TEST(CommonDB, WithoutAnOpenConnectionRaisesTheConnectionError)
{
    DefaultCommonDB commonDb;
    commonDb.strTableName = "aShops";
    for (ConnectionPtr con : {ConnectionPtr(), std::make_shared<Connection>()}) {
        commonDb.adocon = con;
        try {
            commonDb.fnReturnField("count(*)");
            FAIL() << "a closed connection answered";
        } catch (const ModuleError &e) {
            EXPECT_EQ(e.number(), ModuleError::ConnectionClosed);
        }
    }
}
