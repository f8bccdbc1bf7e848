// frmPrint as the clerk uses it: destinations, settings faults, the report path.
#include "PrintTestSupport.h"

#include <rtnmod08/ModuleError.h>
#include "common/host/DefaultErrorDetails.h"
#include "printing/DefaultReportEngine.h"
#include "printing/PrintDestinations.h"
#include "printing/PrinterEncoding.h"
#include "printing/ReportEngine.h"
#include "printing/ReportPreview.h"
#include "printing/ScreenViewer.h"
#include "printing/TextPrintout.h"
#include "printing/frmPrint.h"
#include "support/ComponentOverride.h"
#include "support/ModuleErrors.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <cups/cups.h>

namespace shop::test {
namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PrintWindow : public PrintTest {
protected:
    // Each test has a data folder of its own, where "To Screen" writes.
    PrintWindow() : m_savedDataHome(qgetenv("XDG_DATA_HOME")) { qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit()); }
    ~PrintWindow() override { qputenv("XDG_DATA_HOME", m_savedDataHome); }

    QTemporaryDir dataHome;
    QByteArray m_savedDataHome;

    // The dialog for a return of the register, opened as the register opens it.
    frmPrint &open(TransactionId transaction = TransactionId(1))
    {
        dialog = std::make_unique<frmPrint>(transaction, &owner);
        dialog->Form_Load();
        dialog->show();
        return *dialog;
    }
    QRadioButton *option(const char *name) { return dialog->findChild<QRadioButton *>(name); }
    void ok() { dialog->findChild<QPushButton *>("cmdOK")->click(); }
    // Opens the dialog, chooses "To Printer" and presses OK.
    void printToPort()
    {
        open();
        option("optPrint")->setChecked(true);
        ok();
    }
    // The document as the printout makes it for the session now.
    QByteArray document(qint32 id = 1)
    {
        TextPrintout printout(con(), 1, moduleState().gintUserID, 1);
        printout.readSettings(settingsFilePath());
        return printout.PrintBill(TransactionId(id));
    }

    ScriptedUiScope ui;
    ErrorTrackerScope errors;
    ModuleFolderScope folder;
    QWidget owner; // the register
    std::unique_ptr<frmPrint> dialog;
};

TEST_P(PrintWindow, OpensOnToScreenWhateverTheSettingsOfferAndShowsWindowsPrintOnlyWhenOffered)
{
    const std::tuple<QString, QString, bool> cases[] = {{"0", "0", false}, {"0", "1", false}, {"1", "0", true}};
    for (const auto &[windows, screen, offered] : cases) {
        folder.writeSettings(shippedSettings({{"windowsprint", windows}, {"printtoscreen", screen}}));
        open();
        EXPECT_TRUE(option("optScreen")->isChecked());
        EXPECT_FALSE(option("optPrint")->isChecked());
        EXPECT_EQ(option("optwindowsprint")->isVisible(), offered) << windows.toStdString();
    }
    EXPECT_TRUE(ui->messages().empty());
}

TEST_P(PrintWindow, ToScreenWritesTheDocumentAndShowsItInAViewerThatDoesNotBlockTheRegister)
{
    folder.writeSettings(shippedSettings({{"internalprintnoofrecords", "20"}}), "shopsetting.TXT");
    QFile::remove(folder.path("ShopSetting.txt"));
    open();
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(errors.reports().empty());
    const QByteArray written = readAll(screenFilePath());
    EXPECT_FALSE(screenFilePath().contains(':'));
    EXPECT_TRUE(written.startsWith(QByteArray(27, ' ') + "Purchase Return For Shop"));
    EXPECT_TRUE(written.contains("\r\n\f\r\n")); // 20 rows a page: the footer goes to a second page

    auto *viewer = owner.findChild<ScreenViewer *>();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->pageCount(), 2);
    const QFontMetrics metrics(viewer->findChild<QTextEdit *>("txtPrintout")->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("MMMM")); // monospace
    const QString shown = viewer->shownText();
    EXPECT_FALSE(shown.contains('\f'));
    EXPECT_FALSE(shown.contains(QChar(0x0e)));
    EXPECT_TRUE(shown.contains("  Harbour Traders Ltd"));
    // A second printout goes to the same viewer.
    open();
    ok();
    EXPECT_EQ(owner.findChildren<ScreenViewer *>().size(), 1);
}

TEST_P(PrintWindow, ToPrinterWritesThePortAsWrittenCapitalsAndAllAndCloses)
{
    const QString port = folder.path("Till2/Printer.PRN");
    QDir().mkpath(folder.path("Till2"));
    folder.writeSettings(shippedSettings({{"port", "  " + port + " "}}));
    moduleState().gintUserID = 99; // no user line, no clock: the bytes can be compared
    con().execute("update aItem set description = 'Cr\u00e8me fra\u00eeche 200 g' where ItemId = 1");
    printToPort();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(errors.reports().empty());
    // One byte a character, in the code page the layout was drawn for; the screen keeps UTF-8.
    EXPECT_EQ(readAll(port), printerBytes(document(), "WINDOWS-1252"));
    EXPECT_TRUE(readAll(port).contains("Cr\xe8me fra\xee" "che 200 g ")) << readAll(port).toStdString();
    EXPECT_FALSE(QFile::exists(port.toUpper()));
    EXPECT_FALSE(QFile::exists(screenFilePath()));
}

TEST_P(PrintWindow, SettingsFaultsAreToldAndTheDialogStaysOpen)
{
    const std::tuple<QString, QString, QStringList, long long> faults[] = {
        {"pagewidth", QString(), {"pagewidth  invalid parameter in ShopSetting.txt file"}, 13},
        {"Qty", "ten", {}, 13},
        {"port", "/nowhere/at/all/lp0", {}, 75},
    };
    for (const auto &[key, value, messages, number] : faults) {
        ui->clearRecords();
        folder.writeSettings(shippedSettings({{key, value}}));
        printToPort();
        EXPECT_EQ(ui->messageTexts(), messages) << key.toStdString();
        ASSERT_FALSE(errors.reports().empty());
        EXPECT_EQ(errors.reports().back().moduleName, "frmPrint");
        EXPECT_EQ(errors.reports().back().routine, "cmdOK_Click");
        EXPECT_EQ(errors.reports().back().number, number) << key.toStdString();
        EXPECT_TRUE(dialog->isVisible());
    }
    // No settings file at all: said when the dialog opens and again on OK.
    QFile::remove(folder.path("ShopSetting.txt"));
    ui->clearRecords();
    open();
    EXPECT_EQ(ui->messageTexts(), QStringList(2, " ShopSetting.txt file not found"));
    ok();
    EXPECT_TRUE(dialog->isVisible());
}

TEST_P(PrintWindow, TheHourglassIsOnWhilePrintingAndNeverWhileAMessageWaits)
{
    // The library's own error reporting, which tells the user.
    ComponentOverride shown(progid::ErrorTracker, std::shared_ptr<ErrorDetails>(std::make_shared<DefaultErrorDetails>()));

    open();
    ok();
    EXPECT_GT(ui->timesBusy(), 0);
    EXPECT_FALSE(dialog->isVisible());

    folder.writeSettings(shippedSettings({{"Amount", QString()}}));
    open();
    ok();
    EXPECT_EQ(ui->messageTexts(), (QStringList{"Amount  invalid parameter in ShopSetting.txt file", "Type mismatch"}));
    open();
    option("optPrint")->setChecked(true);
    folder.writeSettings(shippedSettings({{"port", folder.path("no/such/folder/lp0")}}));
    ok();
    EXPECT_TRUE(ui->messageTexts().last().startsWith("Path/File access error")) << ui->messageTexts().last().toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ui->waitedUnderHourglass(), QStringList());
    EXPECT_FALSE(ui->busy());
}

TEST_P(PrintWindow, CancelAndEscapeCloseWithoutPrinting)
{
    for (const bool escape : {false, true}) {
        open();
        escape ? QTest::keyClick(dialog.get(), Qt::Key_Escape) : dialog->findChild<QPushButton *>("cmdCancel")->click();
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_FALSE(QFile::exists(screenFilePath()));
    EXPECT_TRUE(errors.reports().empty());
}

// The print queue of the private print server of the test command.
TEST_P(PrintWindow, ToPrinterSendsTheBytesUnchangedToAPrintQueue)
{
    const QByteArray server = qgetenv("SHOP_TEST_CUPS");
    if (server.isEmpty())
        GTEST_SKIP() << "no test print server (SHOP_TEST_CUPS); tools/test-all starts one";
    cupsSetServer(server.constData());
    const QString queue = QString::fromLocal8Bit(qgetenv("SHOP_TEST_CUPS_QUEUE"));
    const QDir jobs(QString::fromLocal8Bit(qgetenv("SHOP_TEST_CUPS_JOBS")));
    const QStringList before = jobs.entryList({"*.prn"});

    folder.writeSettings(shippedSettings({{"port", queue}, {"printfooterineachpage", "1"}, {"internalprintnoofrecords", "16"}}));
    moduleState().gintUserID = 99;
    printToPort();
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_FALSE(dialog->isVisible());

    QStringList arrived;
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired() && arrived.isEmpty(); QThread::msleep(50)) {
        arrived = jobs.entryList({"*.prn"});
        for (const QString &old : before)
            arrived.removeAll(old);
    }
    ASSERT_EQ(arrived.size(), 1) << "the job did not arrive";
    const QByteArray expected = document();
    EXPECT_TRUE(expected.contains("\x0e\x0f") && expected.contains('\f'));
    EXPECT_EQ(readAll(jobs.filePath(arrived[0])), expected);

    // A queue the server does not have: told, and the dialog stays.
    folder.writeSettings(shippedSettings({{"port", "NoSuchQueue"}}));
    printToPort();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_TRUE(dialog->isVisible());
    cupsSetServer(nullptr);
}

// A report engine that writes down what it is asked to do.
class RecordingEngine final : public ReportEngine, public Report, ReportParameters, ReportWindowOptions {
public:
    void logOnServer(const ReportLogon &logon) override
    {
        calls << "logon " + QStringList{logon.driver, logon.dataSource, logon.database, logon.user, logon.password}.join(',');
    }
    std::shared_ptr<Report> openReport(const QString &path) override
    {
        calls << "open " + path;
        return std::shared_ptr<Report>(std::shared_ptr<Report>{}, this);
    }
    ReportWindowOptions &windowOptions() override
    {
        calls << "window options";
        return *this;
    }
    ReportParameters &parameters() override
    {
        calls << "parameters";
        return *this;
    }
    int count() const override { return 5; }
    void setCurrentValue(int position, const QVariant &value) override
    {
        calls << QString("parameter %1 %2 %3").arg(position).arg(value.typeName(), value.toString());
    }
    void setOption(int id, bool on) override { calls << QString("option %1 %2").arg(id).arg(on); }
    void preview(const QString &title, int left, int top, int width, int height, quint32 style, QWidget *owner) override
    {
        calls << QString("preview %1 %2 %3 %4 %5 %6 %7")
                     .arg(title).arg(left).arg(top).arg(width).arg(height).arg(style, 8, 16, QChar('0'))
                     .arg(owner ? owner->objectName() : "none");
    }
    void exportPdf(const QString &) override {}
    QStringList calls;
};

TEST_P(PrintWindow, WindowsPrintMakesTheEngineCallsInTheirOrderWithoutAnyLogonOfItsOwn)
{
    auto engine = std::make_shared<RecordingEngine>();
    ComponentOverride installed(ReportEngineName, std::shared_ptr<ReportEngine>(engine));
    open();
    option("optwindowsprint")->setChecked(true);
    ok();
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_EQ(engine->calls, (QStringList{"logon ,,,,", "open " + folder.path("reports/rptShopPurchaseReturn.xml"),
                                          "window options", "parameters", "parameter 1 int 1",
                                          "parameter 2 double 1", "parameter 3 QString  Purchase Return",
                                          "parameter 4 QString clerk", "parameter 5 QString Retail", "option 7 1",
                                          "option 8 1", "option 12 1", "option 14 1",
                                          "preview Shop Purchase Return 0 0 0 0 01cf0000 frmPrint"}));
    EXPECT_TRUE(dialog->isVisible());

    // A host whose engine needs a logon supplies it; the module passes it on as given.
    setReportLogon({"driver", "source", "db", "user", "secret"});
    engine->calls.clear();
    ok();
    EXPECT_EQ(engine->calls.value(0), "logon driver,source,db,user,secret");
    setReportLogon({});
}

TEST_P(PrintWindow, TheModulesEngineFillsTheReportIntoAPreviewThatPrintsAndExportsPdf)
{
    open();
    option("optwindowsprint")->setChecked(true);
    ok();
    ASSERT_TRUE(errors.reports().empty()) << errors.reports().front().routine.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    auto *preview = dialog->findChild<ReportPreview *>();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isMaximized());
    const QString text = preview->document().toPlainText();
    for (const char *expected : {"PR1", "Harbour Market", "Harbour Traders Ltd", "Long grain rice 5 kg", "5.000",
                                 "Fresh milk 1 L", "4.000", "Retail", "Printed by clerk", "Damaged packaging"})
        EXPECT_TRUE(text.contains(expected)) << expected;
    EXPECT_EQ(preview->pageCount(), 1);

    const QString pdf = folder.path("pr1.pdf");
    preview->exportTo(pdf);
    EXPECT_TRUE(readAll(pdf).startsWith("%PDF"));

    // No report file: told, and the dialog stays.
    QFile::remove(folder.path("reports/rptShopPurchaseReturn.xml"));
    ok();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].routine, "cmdOK_Click");
    EXPECT_TRUE(dialog->isVisible());
}

TEST(ReportDefinition, FieldsAreWrittenAsTextAndAFaultyFileIsNamed)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("r.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<report title='T'><parameter position='2' name='who'/><parameter position='1' name='n'/>"
               "<layout>{{who}}: {{n|0.00}} {{ n | date }}</layout></report>");
    file.close();
    const ReportDefinition def = ReportDefinition::load(file.fileName());
    EXPECT_EQ(def.parameterNames, (QStringList{"n", "who"}));
    Connection none;
    EXPECT_EQ(def.render(none, {QVariant(2.5), QVariant("<b>O'Neill</b>")}),
              "&lt;b&gt;O'Neill&lt;/b&gt;: 2.50 ");
    const std::optional<ModuleError> missing = errorOf([&] { ReportDefinition::load(dir.filePath("missing.xml")); });
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->description().contains("missing.xml"));
}

SHOP_ON_ALL_BACKENDS(PrintWindow);

} // namespace
} // namespace shop::test
