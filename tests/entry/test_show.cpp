#include "common/ui/FlexGrid.h"
#include "common/host/ModuleState.h"
#include <rtnmod08/clsShopWriteoff.h>
#include "register/FrmMaster.h"
#include "support/ModuleStateScope.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using namespace shop::test;

namespace {

class ShowRegister : public test::DemoTest {
protected:
    ModuleStateScope state;
    ScriptedUiScope ui;
    std::vector<QStringList> seen; // per register shown: its title, the caption of column 1, the numbers listed

    ShowRegister()
    {
        ui->onWindow("FrmMaster", [this](QDialog &dialog) {
            auto &reg = dynamic_cast<FrmMaster &>(dialog);
            QStringList s{reg.windowTitle(), reg.grid().textMatrix(0, 1)};
            for (int r = 1; r < reg.grid().rows(); ++r)
                s << reg.grid().textMatrix(r, 1);
            seen.push_back(s);
            reg.CmdClose_Click();
        });
    }

    void show(int shopId, const QString &type)
    {
        auto m = createShopWriteoff();
        m->setAdocon(db.con);
        m->MessageTitle = "Returns";
        m->gdtProccessDate = QDate(2026, 12, 6);
        m->intUserID = 1;
        m->intShopID = shopId;
        m->intCompanyID = 1;
        m->strtranstype = type;
        m->Show();
    }
};

} // namespace

TEST_P(ShowRegister, EachShowOpensAFreshRegisterAndOtherTypesListEveryHeaderWithoutCaptions)
{
    show(1, "P");
    show(2, "P");
    show(1, "I");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].mid(0, 3), QStringList({"Shop Purchase Return", "Return No", "PR1"}));
    EXPECT_EQ(seen[1].mid(2), QStringList({"BC1"}));
    EXPECT_NE(seen[2][0], "Shop Purchase Return");
    EXPECT_EQ(seen[2][1], "");
    EXPECT_TRUE(seen[2].contains("PR6")); // the transfer to another department is listed now
}

SHOP_ON_ALL_BACKENDS(ShowRegister);

TEST(ShowWithoutConnection, ReportsTheFailingFirstQuery)
{
    ModuleStateScope state;
    ScriptedUiScope ui;
    ErrorTrackerScope errors;
    ui->onWindow("FrmMaster", [](QDialog &dialog) { dialog.reject(); });
    auto m = createShopWriteoff();
    m->intShopID = 1;
    m->strtranstype = "P";
    EXPECT_FALSE(m->adocon()->isOpen());
    m->Show();
    EXPECT_EQ(ui->shownWindows(), QStringList({"FrmMaster"}));
    ASSERT_FALSE(errors.reports().empty());
    EXPECT_EQ(errors.reports().front().moduleName + "." + errors.reports().front().routine, "FrmMaster.Form_Load ");
}
