#include "common/host/DefaultCommonDB.h"
#include <rtnmod08/HostComponents.h>
#include "support/ModuleErrors.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;
using shop::test::errorNumberOf;

TEST(ComponentRegistry, FindsNamesWithoutRegardToCaseAndRefusesUnknownNamesAndWrongInterfaces)
{
    EXPECT_NE(ComponentRegistry::create<clsCommonDB>("commonmodule.CLSCOMMONDB"), nullptr);
    EXPECT_EQ(errorNumberOf([] { ComponentRegistry::create<clsCommonDB>("CommonModule.clsNothing"); }), 429);
    // Asking for a component as another interface than it is made as.
    EXPECT_EQ(errorNumberOf([] { ComponentRegistry::create<clsCommonGen>(progid::CommonDB); }), 13);
    // A host registering the wrong interface under one of the module's names; the default stays.
    EXPECT_EQ(errorNumberOf([] {
                  ComponentRegistry::registerFactory<clsCommonGen>(progid::CommonDB, [] { return nullptr; });
              }),
              13);
    EXPECT_NE(ComponentRegistry::create<clsCommonDB>(progid::CommonDB), nullptr);
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
        EXPECT_EQ(errorNumberOf([&] { commonDb.fnReturnField("count(*)"); }), ModuleError::ConnectionClosed);
    }
}
