#include "common/routines/SettingsFile.h"
#include "support/ModuleStateScope.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace shop;

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("ShopSetting.txt");
    test::ModuleStateScope state;
    test::ScriptedUiScope ui;

    void SetUp() override
    {
        state->gstrMessageTitle = "Harbour Market";
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write("PageWidth :=80\n"
                "\n"
                "a note without a key\n"
                "Glued:=yes\n"
                "header1 :=  HARBOUR MARKET  \n"
                "Empty :=\n");
    }
};

TEST_F(SettingsFileTest, OneCharacterBeforeAssignmentFindsTheValueAndEveryMissingKeyOrFileIsTold)
{
    EXPECT_EQ(FileCode("pagewidth", path), "80");
    EXPECT_EQ(FileCode("Header1", path), "  HARBOUR MARKET  ");
    EXPECT_EQ(FileCode("Empty", path), "");
    EXPECT_TRUE(ui->messages().empty());

    EXPECT_EQ(FileCode("Glued", path), "");
    EXPECT_EQ(FileCode("Footer", path), "");
    EXPECT_EQ(FileCode("PageWidth", path), "80") << "the file opens again";
    ASSERT_EQ(ui->messageTexts(), QStringList({"Glued  invalid parameter in ShopSetting.txt file",
                                               "Footer  invalid parameter in ShopSetting.txt file"}));
    EXPECT_EQ(ui->messages()[1].icon, MsgIcon::Critical);
    EXPECT_EQ(ui->messages()[1].title, "Harbour Market");

    ui->clearRecords();
    test::ErrorTrackerScope tracker;
    EXPECT_EQ(FileCode("PageWidth", dir.filePath("gone/ShopSetting.txt")), "");
    EXPECT_EQ(ui->messageTexts(), QStringList({" ShopSetting.txt file not found"})) << "the report must not show it again";
    ASSERT_EQ(tracker.reports().size(), 1u);
    EXPECT_EQ(tracker.reports()[0].moduleName, "basGoodsPurchase");
    EXPECT_EQ(tracker.reports()[0].routine, "FileCode ");
    EXPECT_FALSE(tracker.reports()[0].showToUser);
}

