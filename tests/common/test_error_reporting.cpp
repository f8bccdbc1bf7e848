#include "common/ErrorReporting.h"
#include "common/HostComponents.h"
#include "common/ModuleError.h"
#include "support/ComponentOverride.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

class ErrorReportingOnDemo : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    test::ModuleStateScope state{db.con};
    test::ScriptedUiScope ui;

    void SetUp() override
    {
        state->gintShopID = 1;
        state->gstrMessageTitle = QStringLiteral("Harbour Market");
    }
    int loggedRows() { return db.con->scalar(QStringLiteral("select count(*) from shop_error_log")).toInt(); }
};

TEST_P(ErrorReportingOnDemo, KeepsLastFiveDigitsAndLogsTheUserName)
{
    long long number = 2147217900;
    TrackError(QStringLiteral("FrmMaster"), 2, QStringLiteral("CmdDelete_Click  "), number, QStringLiteral("Shop database"),
               QStringLiteral("Deadlock"), QStringLiteral("E"), true);
    EXPECT_EQ(number, 17900);
    const Recordset row = db.con->query(QStringLiteral(
        "select window_name, user_name, routine, error_number, error_source, description, mode from shop_error_log"));
    ASSERT_EQ(row.recordCount(), 1);
    EXPECT_EQ(row.field(0).toString(), QStringLiteral("FrmMaster"));
    EXPECT_EQ(row.field(1).toString(), QStringLiteral("nina"));
    EXPECT_EQ(row.field(2).toString(), QStringLiteral("CmdDelete_Click  "));
    EXPECT_EQ(row.field(3).toLongLong(), 17900);
    EXPECT_EQ(row.field(5).toString(), QStringLiteral("Deadlock"));
    EXPECT_EQ(row.field(6).toString(), QStringLiteral("E"));
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, QStringLiteral("Deadlock"));
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui->messages()[0].title, QStringLiteral("Harbour Market"));

    long long negative = ModuleError::DatabaseFailure;
    TrackError(QStringLiteral("FrmMaster"), 4, QStringLiteral("Form_Load "), negative, {}, QStringLiteral("x"), {}, false);
    EXPECT_EQ(negative, 67259);
    EXPECT_EQ(ui->messages().size(), 1u) << "a routine that showed its own message is not shown again";
    EXPECT_EQ(loggedRows(), 2);
}

TEST_P(ErrorReportingOnDemo, LeavesTheCallersTransactionAlone)
{
    db.con->beginTrans();
    db.con->execute(QStringLiteral("insert into aUnit (UnitId, UnitCode) values (?, ?)"), {50, QStringLiteral("BOX")});
    long long number = 5;
    TrackError(QStringLiteral("frmStockDetails"), 1, QStringLiteral("cmdOK_Click"), number, {}, QStringLiteral("failed"),
               QStringLiteral("N"), true);
    db.con->commitTrans();
    EXPECT_EQ(db.con->scalar(QStringLiteral("select UnitCode from aUnit where UnitId = 50")).toString(), QStringLiteral("BOX"));
    EXPECT_EQ(loggedRows(), 0);
    EXPECT_EQ(ui->messages().size(), 1u);
}

SHOP_ON_ALL_BACKENDS(ErrorReportingOnDemo);

namespace {
struct ThrowingTracker final : ErrorDetails {
    void ErrorTrack(QString &, QString &, QString &, long long &, QString &, QString &, QString &, bool &) override
    {
        throw ModuleError(7, QStringLiteral("tracker"), QStringLiteral("broken"));
    }
};
} // namespace

TEST(ErrorReporting, NeverThrowsWhateverFails)
{
    test::ModuleStateScope state(std::make_shared<Connection>()); // never opened
    test::ScriptedUiScope ui;
    long long number = 3709;
    EXPECT_NO_THROW(TrackError(QStringLiteral("FrmMaster"), 1, QStringLiteral("Form_Load "), number, {},
                               QStringLiteral("closed"), {}, true));
    EXPECT_EQ(ui->messages().size(), 1u) << "shown even though the log and the user name could not be read";
    test::ComponentOverride broken(progid::ErrorTracker, std::shared_ptr<ErrorDetails>(std::make_shared<ThrowingTracker>()));
    EXPECT_NO_THROW(TrackError(QStringLiteral("FrmMaster"), 1, QStringLiteral("Form_Load "), number, {}, {}, {}, true));
}

TEST(ErrorReporting, HandlerTrapReportsTheModuleError)
{
    test::ModuleStateScope state;
    test::ScriptedUiScope ui;
    state->gstrMode = QStringLiteral("E");
    try {
        throw ModuleError(ModuleError::Overflow, QStringLiteral("rtnmod08"), QStringLiteral("Overflow"));
    } catch (...) {
        TrackCaughtError(QStringLiteral("frmItemDetails"), QStringLiteral("txtQty_Change"));
    }
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, QStringLiteral("Overflow"));
}
