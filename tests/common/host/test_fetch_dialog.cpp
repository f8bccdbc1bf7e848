#include "common/host/DefaultFetch.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::ScriptedUiScope;

class FetchDialogOnBackend : public test::DemoTest {
protected:
    ScriptedUiScope ui;
    std::shared_ptr<Recordset> chosen;
    DefaultFetch fetch;

    void SetUp() override
    {
        // The item lookup of shop 1, in a fixed order.
        fetch.adocon = db.con;
        fetch.strQuery = "select distinct(s.itemid), a.itemcode, v.itemdescription,  a.brand, a.modelno, "
                         "isnull(a.part_code,'') part_code  from mosShopStock s, vwitemdescription v ,aitem a "
                         "where s.itemid = v.itemid  and s.stock > 0 and a.itemid = v.itemid  and s.shopid = 1 "
                         "and a.Active = 1 order by v.itemdescription";
        fetch.setRecordSet(chosen);
        fetch.setFieldNames({"ItemID", "ItemCode", "ItemDescription", "Brand", "ModelNo", "Part_Code"});
        fetch.setFieldCaptions({"Item ID", "Item Code", "Description", "Brand", "Model", "Part Code"});
        fetch.setFieldWidths({0, 2000, 4000, 2000, 2000, 2000});
        fetch.setDefaultFetchField(2);
        fetch.setInterfaceCaption("Item Fetch");
    }

    void type(QDialog &dialog, const QString &text)
    {
        QTest::keyClicks(dialog.findChild<QLineEdit *>("txtSearch"), text);
    }
    QString currentDescription(QDialog &dialog)
    {
        auto *grid = dialog.findChild<QTableWidget *>("grdFetch");
        if (grid->selectedItems().isEmpty())
            return {};
        return grid->item(grid->currentRow(), 2)->text();
    }
    void press(QDialog &dialog, int key) { Ui::current().sendKey(dialog.findChild<QLineEdit *>("txtSearch"), key); }
};

TEST_P(FetchDialogOnBackend, EscapeCancelsTypingFindsTheFirstMatchAndEnterChoosesIt)
{
    ui->onWindow("frmFetch", [&](QDialog &dialog) {
        type(dialog, "lo");
        press(dialog, Qt::Key_Escape);
    });
    fetch.Show();
    EXPECT_TRUE(fetch.getCancelledStatus());
    EXPECT_TRUE(chosen->eof());

    ui->onWindow("frmFetch", [&](QDialog &dialog) {
        EXPECT_TRUE(dialog.findChild<QTableWidget *>("grdFetch")->isColumnHidden(0));
        EXPECT_EQ(currentDescription(dialog), "Breakfast tea 100 bags 'Highland'");
        type(dialog, "l");
        EXPECT_EQ(currentDescription(dialog), "LED television 32 in");
        type(dialog, "O");
        EXPECT_EQ(currentDescription(dialog), "Long grain rice 5 kg");
        press(dialog, Qt::Key_Return);
    });
    fetch.Show();
    EXPECT_FALSE(fetch.getCancelledStatus());
    ASSERT_FALSE(chosen->eof());
    EXPECT_EQ(chosen->field("itemid").toInt(), 5);
    EXPECT_EQ(chosen->field("itemcode").toString(), "RICE-5");

    ui->onWindow("frmFetch", [&](QDialog &dialog) {
        type(dialog, "zz");
        EXPECT_EQ(currentDescription(dialog), "");
        press(dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()); // nothing to choose: the lookup stays open
        press(dialog, Qt::Key_Escape);
    });
    fetch.Show();
    EXPECT_TRUE(fetch.getCancelledStatus());
}

SHOP_ON_ALL_BACKENDS(FetchDialogOnBackend);
