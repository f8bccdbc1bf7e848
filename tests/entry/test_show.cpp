#include "common/FlexGrid.h"
#include "common/ModuleState.h"
#include "entry/clsShopWriteoff.h"
#include "register/FrmMaster.h"
#include "support/ModuleStateScope.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using namespace shop::test;

namespace {

struct Seen {
    QString title;
    QStringList numbers;
    QString firstCaption;
    const void *window = nullptr;
};

class ShowRegister : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    ModuleStateScope state;
    ScriptedUiScope ui;
    std::vector<Seen> seen;

    ShowRegister()
    {
        ui->onWindow("FrmMaster", [this](QDialog &dialog) {
            auto &reg = dynamic_cast<FrmMaster &>(dialog);
            Seen s{reg.windowTitle(), {}, reg.grid().textMatrix(0, 1), &dialog};
            for (int r = 1; r < reg.grid().rows(); ++r)
                s.numbers << reg.grid().textMatrix(r, 1);
            seen.push_back(s);
            reg.CmdClose_Click();
        });
    }

    std::unique_ptr<clsShopWriteoff, void (*)(clsShopWriteoff *)> module(int shopId, const QString &type)
    {
        auto m = createShopWriteoff();
        m->setAdocon(db.con);
        m->MessageTitle = "Returns";
        m->gdtProccessDate = QDate(2026, 12, 6);
        m->intUserID = 1;
        m->intShopID = shopId;
        m->intCompanyID = 1;
        m->strtranstype = type;
        return m;
    }
};

} // namespace

TEST_P(ShowRegister, EachShowOpensAFreshRegisterWithTheNewSession)
{
    module(1, "P")->Show();
    module(2, "P")->Show();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Shop Purchase Return");
    EXPECT_TRUE(seen[0].numbers.contains("PR1"));
    EXPECT_EQ(seen[1].numbers, QStringList({"BC1"}));
    EXPECT_EQ(moduleState().gintShopID, 2);
}

TEST_P(ShowRegister, OtherTransactionTypeListsEveryHeaderWithoutCaptions)
{
    module(1, "I")->Show();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].title, "Shop Purchase Return");
    EXPECT_TRUE(seen[0].numbers.contains("PR6")); // the transfer to another department is listed now
    EXPECT_TRUE(seen[0].firstCaption.isEmpty());
}

SHOP_ON_ALL_BACKENDS(ShowRegister);

TEST(ShowWithoutConnection, ReportsTheFailingFirstQuery)
{
    ModuleStateScope state;
    ScriptedUiScope ui;
    ErrorTrackerScope errors;
    int shown = 0;
    ui->onWindow("FrmMaster", [&](QDialog &dialog) {
        ++shown;
        dialog.reject();
    });
    auto m = createShopWriteoff();
    m->intShopID = 1;
    m->strtranstype = "P";
    EXPECT_FALSE(m->adocon()->isOpen());
    m->Show();
    EXPECT_EQ(shown, 1);
    ASSERT_FALSE(errors.reports().empty());
    EXPECT_EQ(errors.reports().front().routine, "Form_Load ");
    EXPECT_EQ(errors.reports().front().moduleName, "FrmMaster");
}
