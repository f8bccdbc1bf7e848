#include <rtnmod08/ModuleError.h>
#include "printing/PrintLayout.h"
#include "support/FuzzInput.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <gtest/gtest.h>

namespace shop {
namespace {

// The shipped settings with values edited by hand: empty, huge, negative, fractions,
// letters, binary bytes, lines broken apart. Reading them gives settings or the
// conversion errors (13, 6); a separator spaced by -1 divides by zero (11); the printout
// laid out with whatever was read never crashes or hangs, and its lines end as they must.
// The first round spaces the separator by -1, whatever the seed makes of the others.
TEST(PrintSettingsFuzz, HandEditedSettingsGiveAPrintoutOrTheirErrorNeverACrash)
{
    test::ModuleStateScope state;
    test::ScriptedUiScope ui;
    QFile shipped(QStringLiteral(SHOP_RESOURCES "/ShopSetting.txt"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = shipped.readAll().split('\n');
    QTemporaryDir dir;
    const QString path = dir.filePath("ShopSetting.txt");
    test::FuzzInput input(0x5eed0005);
    const QStringList values{"", " ", "0", "-1", "1", "2", "3", "7", "26", "80", "81", "200", "32767", "32768",
                             "99999999999999999999", "2.5", "-0.5", "abc", "1e3", "\x01\x02"};
    PrintDocument document;
    for (int i = 1; i <= 5; ++i)
        document.lines.push_back(PrintLine{"C" + QString::number(i), "Item " + QString::number(i), "PCS", 10.0 * i, 1.0 * i, 2.5});
    int laidOut = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray edited;
        for (const QByteArray &line : lines) {
            const int assign = line.indexOf(":=");
            if (round == 0 && line.startsWith("spaceinlinecode")) {
                edited += "spaceinlinecode :=-1\n";
                continue;
            }
            if (assign < 0 || line.startsWith("port") || round == 0 || !input.chance(15)) {
                edited += line + '\n';
                continue;
            }
            if (input.chance(10))
                continue; // a key lost
            const QString value = input.chance(80) ? input.pick(values) : input.noise();
            edited += line.left(assign + 2) + value.toUtf8() + (input.chance(10) ? "" : "\n");
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(edited);
        f.close();
        std::optional<PrintSettings> settings;
        try {
            settings = readPrintSettings(path);
            document.header = PrintDocument::Header{readHeaderSettings(path), {}};
            const QByteArray bytes = layoutPrintout(document, *settings);
            ASSERT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
            ++laidOut;
        } catch (const ModuleError &e) {
            const bool divided = e.number() == 11 && settings && settings->spaceInLine == -1;
            ASSERT_TRUE(divided || e.number() == ModuleError::TypeMismatch || e.number() == ModuleError::Overflow)
                << "round " << round << ": " << e.number() << " " << e.description().toStdString();
        }
    }
    EXPECT_GT(laidOut, 20) << "the generator reaches settings that print";
}

} // namespace
} // namespace shop
