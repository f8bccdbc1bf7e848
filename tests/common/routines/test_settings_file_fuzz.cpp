#include "common/routines/SettingsFile.h"
#include "support/FuzzInput.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace shop {
namespace {

// Settings files edited by hand: lines without ":=", empty values, huge numbers,
// binary bytes, very long lines. Reading a key never crashes; it gives the text after
// ":=" of a line that really holds it, or "" with the missing-key message.
TEST(SettingsFileFuzz, HandEditedFilesGiveAValueOrTheMessage)
{
    test::ModuleStateScope state;
    test::ScriptedUiScope ui;
    QTemporaryDir dir;
    const QString path = dir.filePath("ShopSetting.txt");
    test::FuzzInput input(0x5eed0003);
    const QStringList keys{"PageWidth", "pagelength", "header1", "totalheadcount", "port", "spaceinlinecode"};
    const QStringList shaped{"PageWidth", "pagelength", "header1", " ", ":=", ":= ", "80", "66", "\n", "\r\n",
                             "99999999999999999999", "-1", "", "LPT1"};
    for (int i = 0; i < 400; ++i) {
        QByteArray content = input.mixed(shaped, 5 + input.below(40)).toUtf8();
        if (input.chance(10))
            content += QByteArray(1 + input.below(3), '\0') + QByteArray(200000, 'x');
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        const QString key = input.pick(keys);
        const size_t messagesBefore = ui->messages().size();
        const QString value = FileCode(key, path);
        if (value.isEmpty())
            continue;
        EXPECT_EQ(ui->messages().size(), messagesBefore) << "a key that was found is not reported missing";
        EXPECT_TRUE(QString::fromUtf8(content).contains(":=" + value)) << key.toStdString();
    }
}

} // namespace
} // namespace shop
