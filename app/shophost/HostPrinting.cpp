#include "HostPrinting.h"

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
#include <optional>

using namespace shop;

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

TransactionId returnOfShop(Connection &con, const HostOptions &options, const QString &number)
{
    const QVariant id = con.scalar(QStringLiteral("select max(WhID) from LOsPurchaseReturnHeader "
                                                  "where whShopID = ? and WhNo = ? and whtype = ?"),
                                   {options.shopId, number, options.transType});
    if (id.isNull())
        throw HostError(QStringLiteral("%1 is not a purchase return of shop %2.").arg(number).arg(options.shopId));
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

void printText(const HostOptions &options, Connection &con)
{
    const TransactionId id = returnOfShop(con, options, options.printNumber);
    TextPrintout printout(con, options.shopId, options.userId, options.companyId);
    printout.readSettings(settingsFilePath());
    const QByteArray document = printout.PrintBill(id);
    printout.reportTrappedErrors();
    writeOut(options.output, document);
}

void printReport(const HostOptions &options, Connection &con)
{
    const TransactionId id = returnOfShop(con, options, options.reportNumber);
    const ReportRequest request = ReportRequest::lookUp(options.shopId, options.userId, id.value());
    const auto engine = createReportEngine();
    openFilledReport(*engine, reportFilePath(), request)->exportPdf(options.output);
}

} // namespace

int runHostPrinting(const HostOptions &options, const HostLogin &login)
{
    ModuleState &state = moduleState();
    state.gadocon = login.connection;
    state.gintUserID = options.userId;
    state.gintShopID = options.shopId;
    state.gintCompanyID = options.companyId;
    state.gdtProcessDate = options.processDate;
    state.gstrMessageTitle = options.title;
    state.gstrTransType = options.transType;
    Ui::install(std::make_unique<ConsoleUi>());
    try {
        if (!options.printNumber.isEmpty())
            printText(options, *login.connection);
        else
            printReport(options, *login.connection);
        return 0;
    } catch (const HostError &e) {
        QTextStream(stderr) << "shophost: " << e.text << Qt::endl;
    } catch (const ModuleError &e) {
        QTextStream(stderr) << "shophost: " << e.description() << Qt::endl;
    }
    return 1;
}
