#include "entry/ModuleSession.h"

#include <rtnmod08/ModuleError.h>
#include "common/core/TransactionId.h"
#include "common/host/ModuleState.h"
#include "common/ui/Ui.h"
#include "register/RegisterData.h"
#include "printing/ModuleFolder.h"
#include "printing/PrintDestinations.h"
#include "printing/ReportPrint.h"
#include "printing/TextPrintout.h"

#include <QDir>
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
        m_told = true;
    }
    // Whether the person was told anything: a missing setting, a header or footer
    // that could not be made.
    bool told() const { return m_told; }
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

private:
    bool m_told = false;
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

// The register's Print is the right to print, on paper or as a report.
void requirePrintRight(Connection &con, const ModuleState &state)
{
    const qint32 interfaceId =
        state.gstrTransType == reg::PurchaseReturnType ? reg::PurchaseReturnInterface : state.gintInterfaceID;
    if (!reg::mayUseCommand(reg::functionRights(con, state.gintUserID, interfaceId), QStringLiteral("P")))
        throw HostError(QStringLiteral("User %1 may not print purchase returns (the rights do not hold Print).")
                            .arg(state.gintUserID));
}

void writeOut(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty()) {
        const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout)
                == static_cast<size_t>(bytes.size())
            && std::fflush(stdout) == 0;
        if (!written)
            throw HostError(QStringLiteral("The printout could not be written to standard output."));
        return;
    }
    writePrintFile(path, bytes);
}

// Runs one reprint on the session the host set, with console messages, and gives
// the exit status.
int withoutWindows(const std::function<void(Connection &, const ModuleState &, const ConsoleUi &)> &work)
{
    ModuleState &state = moduleState();
    auto console = std::make_unique<ConsoleUi>();
    const ConsoleUi &ui = *console;
    Ui::install(std::move(console));
    try {
        if (!state.gadocon || !state.gadocon->isOpen())
            throw HostError(QStringLiteral("No open database."));
        requirePrintRight(*state.gadocon, state);
        work(*state.gadocon, state, ui);
        return 0;
    } catch (const HostError &e) {
        if (!e.text.isEmpty())
            QTextStream(stderr) << "shophost: " << e.text << Qt::endl;
    } catch (const ModuleError &e) {
        QTextStream(stderr) << "shophost: " << e.description() << Qt::endl;
    }
    return 1;
}

} // namespace

int clsShopWriteoff::PrintText(const QString &number, const QString &outputPath)
{
    fillModuleState(*this);
    return withoutWindows([&](Connection &con, const ModuleState &state, const ConsoleUi &ui) {
        const TransactionId id = returnOfShop(con, state, number);
        TextPrintout printout(con, state.gintShopID, state.gintUserID, state.gintCompanyID);
        printout.readSettings(settingsFilePath());
        const QByteArray document = printout.PrintBill(id);
        printout.reportTrappedErrors();
        // What the clerk would have been told leaves the printout short of a header,
        // a footer or a setting: nothing is written.
        if (ui.told())
            throw HostError(QStringLiteral("%1 was not printed; put %2 right first.")
                                .arg(number, QDir::toNativeSeparators(settingsFilePath())));
        writeOut(outputPath, document);
    });
}

int clsShopWriteoff::ExportReport(const QString &number, const QString &pdfPath)
{
    fillModuleState(*this);
    return withoutWindows([&](Connection &con, const ModuleState &state, const ConsoleUi &) {
        const TransactionId id = returnOfShop(con, state, number);
        const ReportRequest request = ReportRequest::lookUp(state.gintShopID, state.gintUserID, id.value());
        const auto engine = createReportEngine();
        openFilledReport(*engine, reportFilePath(), request)->exportPdf(pdfPath);
    });
}

} // namespace shop
