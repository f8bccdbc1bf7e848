#include "common/SettingsFile.h"
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
    QString path = dir.filePath(QStringLiteral("ShopSetting.txt"));
    test::ModuleStateScope state;
    test::ScriptedUiScope ui;

    void SetUp() override
    {
        state->gstrMessageTitle = QStringLiteral("Harbour Market");
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

TEST_F(SettingsFileTest, OneSeparatingCharacterBeforeAssignmentFindsTheValue)
{
    EXPECT_EQ(FileCode(QStringLiteral("pagewidth"), path), QStringLiteral("80"));
    EXPECT_EQ(FileCode(QStringLiteral("Header1"), path), QStringLiteral("  HARBOUR MARKET  "));
    EXPECT_EQ(FileCode(QStringLiteral("Empty"), path), QString());
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(SettingsFileTest, KeyGluedToAssignmentDoesNotMatchAndEveryMissingKeyIsTold)
{
    EXPECT_EQ(FileCode(QStringLiteral("Glued"), path), QString());
    EXPECT_EQ(FileCode(QStringLiteral("Footer"), path), QString());
    EXPECT_EQ(FileCode(QStringLiteral("PageWidth"), path), QStringLiteral("80")) << "the file opens again";
    ASSERT_EQ(ui->messages().size(), 2u);
    EXPECT_EQ(ui->messages()[0].text, QStringLiteral("Glued  invalid parameter in Settings.ini file"));
    EXPECT_EQ(ui->messages()[1].text, QStringLiteral("Footer  invalid parameter in Settings.ini file"));
    EXPECT_EQ(ui->messages()[1].icon, MsgIcon::Critical);
    EXPECT_EQ(ui->messages()[1].title, QStringLiteral("Harbour Market"));
}

TEST_F(SettingsFileTest, MissingFileIsToldOnceAndReportedWithoutShowingAgain)
{
    test::ErrorTrackerScope tracker;
    EXPECT_EQ(FileCode(QStringLiteral("PageWidth"), dir.filePath(QStringLiteral("none.txt"))), QString());
    ASSERT_EQ(ui->messages().size(), 1u) << "the error report must not show a second message";
    EXPECT_EQ(ui->messages()[0].text, QStringLiteral(" Settings.ini file not found"));
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Critical);
    ASSERT_EQ(tracker.reports().size(), 1u);
    EXPECT_EQ(tracker.reports()[0].moduleName, QStringLiteral("basGoodsPurchase"));
    EXPECT_EQ(tracker.reports()[0].routine, QStringLiteral("FileCode "));
    EXPECT_FALSE(tracker.reports()[0].showToUser);
}
