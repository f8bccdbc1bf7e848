#include "common/host/DefaultUserAuditing.h"
#include <rtnmod08/ModuleError.h>
#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

namespace {

struct AuditedWindow {
    QDialog window;
    QLineEdit *remark = new QLineEdit(&window);
    QComboBox *department = new QComboBox(&window);
    QTreeWidget *items = new QTreeWidget(&window);

    AuditedWindow()
    {
        window.setObjectName("frmStockDetails");
        remark->setObjectName("txtRemark");
        department->setObjectName("cbodepartment");
        department->setEditable(true);
        department->addItems({"Retail", "Wholesale"});
        items->setObjectName("lvwItems");
        items->setColumnCount(3);
        new QTreeWidgetItem(items, QStringList{"1", "MLK-1L", "2"});
    }
};

} // namespace

TEST(UserAuditing, DataChangedFollowsEveryKindOfControl)
{
    DefaultUserAuditing audit;
    AuditedWindow w;
    EXPECT_TRUE(audit.DataChanged(&w.window)); // nothing recorded yet
    audit.SaveInToTag(&w.window);
    EXPECT_FALSE(audit.DataChanged(&w.window));

    w.remark->setText("damaged");
    EXPECT_TRUE(audit.DataChanged(&w.window));
    w.remark->clear();
    EXPECT_FALSE(audit.DataChanged(&w.window));

    w.department->setCurrentIndex(1);
    EXPECT_TRUE(audit.DataChanged(&w.window));
    w.department->setCurrentIndex(0);
    EXPECT_FALSE(audit.DataChanged(&w.window));

    w.items->topLevelItem(0)->setText(2, "3");
    EXPECT_TRUE(audit.DataChanged(&w.window));
    w.items->topLevelItem(0)->setText(2, "2");
    EXPECT_FALSE(audit.DataChanged(&w.window));
    new QTreeWidgetItem(w.items, QStringList{"2", "TV-32", "1"});
    EXPECT_TRUE(audit.DataChanged(&w.window));
}

class UserAuditingOnBackend : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam()};
};

TEST_P(UserAuditingOnBackend, RowsAreWrittenInsideTheCallersTransactionAndFailuresRaised)
{
    DefaultUserAuditing audit;
    audit.OpenObject(db.con, 1, 2, 3, 1901, QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0)));
    AuditedWindow w;
    audit.SaveInToTag(&w.window);
    w.remark->setText("damaged in transit");

    qint32 id = 7;
    QString no = "PR7";
    db.con->beginTrans();
    audit.SaveUserAuditingInfo(id, no, true, "N", &w.window);
    db.con->rollbackTrans();
    EXPECT_EQ(db.con->scalar("select count(*) from shop_user_audit").toInt(), 0);

    db.con->beginTrans();
    audit.SaveUserAuditingInfo(id, no, true, "N", &w.window);
    audit.SaveUserAuditingInfo(id, no, true, "D");
    db.con->commitTrans();
    EXPECT_EQ(test::rowsOf(*db.con, "select companyid, shopid, userid, interfaceid, transid, transno, mode, window_name, "
                                    "changes from shop_user_audit order by auditid"),
              QStringList({"1|2|3|1901|7|PR7|N|frmStockDetails|txtRemark: \"\" -> \"damaged in transit\"",
                           "1|2|3|1901|7|PR7|D|<null>|<null>"}));
    EXPECT_TRUE(db.con->scalar("select min(started_at) from shop_user_audit").toString().startsWith("2026-12-06"));
    EXPECT_EQ(db.con->scalar("select count(logged_at) from shop_user_audit").toInt(), 2);

    TestDatabase bare{GetParam(), TestDatabase::Content::Empty};
    audit.OpenObject(bare.con, 1, 1, 1, 1901, QDateTime::currentDateTime());
    EXPECT_THROW(audit.SaveUserAuditingInfo(id, no, true, "D"), ModuleError);
}

SHOP_ON_ALL_BACKENDS(UserAuditingOnBackend);
