#include "common/routines/ListViewColumns.h"
#include "common/routines/Lookups.h"
#include "common/ui/Twips.h"
#include "support/ModuleStateScope.h"
#include "support/TestDatabase.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace shop;

class LookupsOnDemo : public test::DemoTest {
protected:
    test::ModuleStateScope state{db.con};
};

TEST_P(LookupsOnDemo, ShopAndItemFactsAndStoredListLayout)
{
    EXPECT_TRUE(fnLocationArrangement(1));
    EXPECT_FALSE(fnLocationArrangement(2));
    EXPECT_EQ(fnDefaultShipmentId(), 1);
    EXPECT_EQ(fnItemUnitCode(5), "BAG");
    EXPECT_EQ(fnItemUnitCode(999), "");

    QTreeWidget list;
    list.setObjectName("lvwStock");
    list.setColumnCount(10);
    new QTreeWidgetItem(&list, QStringList{"1"});
    SetListViewColumns(" frmstockdetails ", &list, "ShopWriteOff");
    EXPECT_EQ(list.columnWidth(0), twipsToPixels(600));
    EXPECT_EQ(list.columnWidth(3), 240);
    EXPECT_TRUE(list.isColumnHidden(1));
    EXPECT_FALSE(list.isColumnHidden(2));
    EXPECT_EQ(list.headerItem()->textAlignment(4) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(list.topLevelItem(0)->textAlignment(4) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(list.headerItem()->textAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    QTreeWidget other;
    other.setObjectName("lvwOther");
    other.setColumnCount(2);
    SetListViewColumns("frmStockDetails", &other, "shopwriteoff");
    EXPECT_FALSE(other.isColumnHidden(1)) << "a list without a stored layout keeps its own";
}

SHOP_ON_ALL_BACKENDS(LookupsOnDemo);
