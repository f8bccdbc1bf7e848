#include "RegisterTestSupport.h"

#include "printing/ModuleFolder.h"

#include <QFileInfo>

#include <QRadioButton>

namespace shop::test {
namespace {

using PrintFromRegister = RegisterTest;

// The module's own print dialog, for the row the clerk stands on, with the settings shipped beside the library.
TEST_P(PrintFromRegister, PrintOpensThePrintDialogOnTheCurrentReturn)
{
    open();
    standOn("PR1");
    bool opened = false;
    ui->onWindow("frmPrint", [&](QDialog &dialog) {
        opened = true;
        EXPECT_EQ(dialog.windowTitle(), "Print");
        EXPECT_TRUE(dialog.findChild<QRadioButton *>("optScreen")->isChecked());
        EXPECT_TRUE(dialog.findChild<QRadioButton *>("optwindowsprint")->isVisibleTo(&dialog));
        dialog.reject();
    });
    button("cmdPreview")->click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join('\n').toStdString();
    EXPECT_TRUE(QFileInfo(settingsFilePath()).isFile()) << settingsFilePath().toStdString();
}

SHOP_ON_ALL_BACKENDS(PrintFromRegister);

} // namespace
} // namespace shop::test
