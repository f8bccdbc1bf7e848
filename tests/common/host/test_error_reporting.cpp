#include "common/host/ErrorReporting.h"
#include <rtnmod08/HostComponents.h>
#include <rtnmod08/ModuleError.h>
#include "support/ComponentOverride.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;

class ErrorReportingOnDemo : public test::DemoTest {
protected:
    test::ModuleStateScope state{db.con};
    test::ScriptedUiScope ui;

    void SetUp() override { state.login().gstrMessageTitle = "Harbour Market"; }
    int loggedRows() { return db.con->scalar("select count(*) from shop_error_log").toInt(); }
};

TEST_P(ErrorReportingOnDemo, KeepsLastFiveDigitsAndLogsTheUserName)
{
    long long number = 2147217900;
    TrackError("FrmMaster", 2, "CmdDelete_Click  ", number, "Shop database", "Deadlock", "E", true);
    EXPECT_EQ(number, 17900);
    const Recordset row =
        db.con->query("select window_name, user_name, routine, error_number, description, mode from shop_error_log");
    ASSERT_EQ(row.recordCount(), 1);
    QStringList fields;
    for (int f = 0; f < 6; ++f)
        fields << row.field(f).toString();
    EXPECT_EQ(fields, QStringList({"FrmMaster", "nina", "CmdDelete_Click  ", "17900", "Deadlock", "E"}));
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, "Deadlock");
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui->messages()[0].title, "Harbour Market");

    long long negative = ModuleError::DatabaseFailure;
    TrackError("FrmMaster", 4, "Form_Load ", negative, {}, "x", {}, false);
    EXPECT_EQ(negative, 67259);
    EXPECT_EQ(ui->messages().size(), 1u) << "a routine that showed its own message is not shown again";
    EXPECT_EQ(loggedRows(), 2);
}

TEST_P(ErrorReportingOnDemo, LeavesTheCallersTransactionAlone)
{
    db.con->beginTrans();
    db.con->execute("insert into aUnit (UnitId, UnitCode) values (?, ?)", {50, "BOX"});
    long long number = 5;
    TrackError("frmStockDetails", 1, "cmdOK_Click", number, {}, "failed", "N", true);
    db.con->commitTrans();
    EXPECT_EQ(db.con->scalar("select UnitCode from aUnit where UnitId = 50").toString(), "BOX");
    EXPECT_EQ(loggedRows(), 0);
    EXPECT_EQ(ui->messages().size(), 1u);
}

SHOP_ON_ALL_BACKENDS(ErrorReportingOnDemo);

namespace {
struct ThrowingTracker final : ErrorDetails {
    void ErrorTrack(QString &, QString &, QString &, long long &, QString &, QString &, QString &, bool &) override
    {
        throw ModuleError(7, "tracker", "broken");
    }
};
} // namespace

TEST(ErrorReporting, NeverThrowsWhateverFails)
{
    test::ModuleStateScope state(std::make_shared<Connection>()); // never opened
    test::ScriptedUiScope ui;
    long long number = 3709;
    EXPECT_NO_THROW(TrackError("FrmMaster", 1, "Form_Load ", number, {}, "closed", {}, true));
    EXPECT_EQ(ui->messages().size(), 1u) << "shown even though the log and the user name could not be read";
    test::ComponentOverride broken(progid::ErrorTracker, std::shared_ptr<ErrorDetails>(std::make_shared<ThrowingTracker>()));
    EXPECT_NO_THROW(TrackError("FrmMaster", 1, "Form_Load ", number, {}, {}, {}, true));
}
