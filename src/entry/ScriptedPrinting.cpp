#include "entry/clsShopWriteoff.h"

#include "common/core/ModuleError.h"
#include "common/core/TransactionId.h"
#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "printing/ModuleFolder.h"
#include "printing/ReportPrint.h"
#include "printing/TextPrintout.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <optional>

namespace shop {

namespace {

// The person at the keyboard, when there are no windows: messages are written to
// standard error and questions take their default answer.
class ConsoleUi final : public Ui {
public:
    void message(const QString &text, MsgIcon, const QString &) override
    {
        QTextStream(stderr) << "shophost: " << text.trimmed() << Qt::endl;
    }
    MsgAnswer ask(const QString &text, MsgButtons, MsgAnswer defaultAnswer, MsgIcon, const QString &title) override
    {
        message(text, MsgIcon::Question, title);
        return defaultAnswer;
    }
    int showModal(QDialog &, QWidget *) override { return 0; }
    void setBusy(bool) override {}
    void focusNext(QWidget *, bool) override {}
    void sendKey(QWidget *, int, Qt::KeyboardModifiers) override {}
    void processEvents() override {}
};

class HostError {
public:
    explicit HostError(QString message) : text(std::move(message)) {}
    QString text;
};

TransactionId returnOfShop(Connection &con, const ModuleState &state, const QString &number)
{
    const QVariant id = con.scalar(QStringLiteral("select max(WhID) from LOsPurchaseReturnHeader "
                                                  "where whShopID = ? and WhNo = ? and whtype = ?"),
                                   {state.gintShopID, number, state.gstrTransType});
    if (id.isNull())
        throw HostError(QStringLiteral("%1 is not a purchase return of shop %2.").arg(number).arg(state.gintShopID));
    return TransactionId(id.toInt());
}

void writeOut(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty()) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw HostError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

// Runs one reprint on the session the host set, with console messages, and gives
// the exit status.
int withoutWindows(const std::function<void(Connection &, const ModuleState &)> &work)
{
    ModuleState &state = moduleState();
    Ui::install(std::make_unique<ConsoleUi>());
    try {
        if (!state.gadocon || !state.gadocon->isOpen())
            throw HostError(QStringLiteral("No open database."));
        work(*state.gadocon, state);
        return 0;
    } catch (const HostError &e) {
        QTextStream(stderr) << "shophost: " << e.text << Qt::endl;
    } catch (const ModuleError &e) {
        QTextStream(stderr) << "shophost: " << e.description() << Qt::endl;
    }
    return 1;
}

} // namespace

int clsShopWriteoff::PrintText(const QString &number, const QString &outputPath)
{
    fillModuleState();
    return withoutWindows([&](Connection &con, const ModuleState &state) {
        const TransactionId id = returnOfShop(con, state, number);
        TextPrintout printout(con, state.gintShopID, state.gintUserID, state.gintCompanyID);
        printout.readSettings(settingsFilePath());
        const QByteArray document = printout.PrintBill(id);
        printout.reportTrappedErrors();
        writeOut(outputPath, document);
    });
}

int clsShopWriteoff::ExportReport(const QString &number, const QString &pdfPath)
{
    fillModuleState();
    return withoutWindows([&](Connection &con, const ModuleState &state) {
        const TransactionId id = returnOfShop(con, state, number);
        const ReportRequest request = ReportRequest::lookUp(state.gintShopID, state.gintUserID, id.value());
        const auto engine = createReportEngine();
        openFilledReport(*engine, reportFilePath(), request)->exportPdf(pdfPath);
    });
}

} // namespace shop
