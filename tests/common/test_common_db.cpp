#include "common/DefaultCommonDB.h"
#include "common/HostComponents.h"
#include "common/ModuleError.h"
#include "support/ComponentOverride.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

TEST(ComponentRegistry, FindsNamesWithoutRegardToCaseAndRefusesUnknownOnes)
{
    EXPECT_NE(ComponentRegistry::create<clsCommonDB>(QStringLiteral("commonmodule.CLSCOMMONDB")), nullptr);
    try {
        ComponentRegistry::createObject(QStringLiteral("CommonModule.clsNothing"));
        FAIL() << "an unknown component was created";
    } catch (const ModuleError &e) {
        EXPECT_EQ(e.number(), 429);
        EXPECT_EQ(e.description(), QStringLiteral("ActiveX component can't create object"));
    }
}

TEST(ComponentRegistry, HostRegistrationReplacesTheDefaultUntilRemoved)
{
    auto own = std::make_shared<DefaultCommonDB>();
    own->strTableName = QStringLiteral("host's own");
    {
        test::ComponentOverride replaced(progid::CommonDB, std::shared_ptr<clsCommonDB>(own));
        EXPECT_EQ(ComponentRegistry::create<clsCommonDB>(progid::CommonDB)->strTableName, QStringLiteral("host's own"));
    }
    EXPECT_TRUE(ComponentRegistry::create<clsCommonDB>(progid::CommonDB)->strTableName.isEmpty());
}

class CommonDBOnDemo : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    std::shared_ptr<clsCommonDB> commonDb = [this] {
        auto c = ComponentRegistry::create<clsCommonDB>(progid::CommonDB);
        c->adocon = db.con;
        return c;
    }();
};

TEST_P(CommonDBOnDemo, ReturnsFirstValueOrNull)
{
    commonDb->strTableName = QStringLiteral("LOUSERS where userid=2 and shopid = 1");
    EXPECT_EQ(commonDb->fnReturnField(QStringLiteral("username")).toString(), QStringLiteral("nina"));
    commonDb->strTableName = QStringLiteral("aItem i, aUnit u");
    EXPECT_EQ(commonDb->fnReturnField(QStringLiteral("u.UnitCode"), QStringLiteral("i.UnitsId = u.UnitId AND i.ItemId = 5"))
                  .toString(),
              QStringLiteral("BAG"));
    EXPECT_TRUE(commonDb->fnReturnField(QStringLiteral("u.UnitCode"), QStringLiteral("i.UnitsId = u.UnitId AND i.ItemId = 999"))
                    .isNull());
}

TEST_P(CommonDBOnDemo, NextNumberIsHighestPlusOneAndOneWhenEmpty)
{
    commonDb->strTableName = QStringLiteral("LOsPurchaseReturnHeader where whshopid = 1");
    EXPECT_EQ(commonDb->fnGetNextMaxNo(QStringLiteral("whid")), 8);
    commonDb->strTableName = QStringLiteral("LOsPurchaseReturnHeader where whshopid = 99");
    EXPECT_EQ(commonDb->fnGetNextMaxNo(QStringLiteral("whid")), 1);
}

TEST_P(CommonDBOnDemo, FillsComboWithTextAndIds)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("stale"));
    commonDb->strTableName = QStringLiteral("adepartmentmaster");
    commonDb->populateComboorList(&combo, QStringLiteral("DepartmentID"), QStringLiteral("DepartmentName"),
                                  QStringLiteral("depcurrencyid = 1 order by DepartmentID"));
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Retail"));
    EXPECT_EQ(combo.itemData(1).toInt(), 12);
}

SHOP_ON_ALL_BACKENDS(CommonDBOnDemo);

TEST(CommonDB, WithoutAnOpenConnectionRaisesTheConnectionError)
{
    DefaultCommonDB commonDb;
    commonDb.strTableName = QStringLiteral("aShops");
    for (ConnectionPtr con : {ConnectionPtr(), std::make_shared<Connection>()}) {
        commonDb.adocon = con;
        try {
            commonDb.fnReturnField(QStringLiteral("count(*)"));
            FAIL() << "a closed connection answered";
        } catch (const ModuleError &e) {
            EXPECT_EQ(e.number(), ModuleError::ConnectionClosed);
        }
    }
}
