#include "HostOptions.h"
#include "HostSession.h"

#include <rtnmod08/clsShopWriteoff.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char **argv)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const auto options = parseHostOptions(argumentsOf(argc, argv), error);
    hidePasswordsInArguments(argc, argv);
    if (!options) {
        err << "shophost: " << error << "\n" << "Try shophost --help.\n";
        return 1;
    }
    if (options->help) {
        out << hostUsage();
        return 0;
    }
    const bool reprint = !options->printNumber.isEmpty() || !options->reportNumber.isEmpty();
    const bool windows = !options->checkOnly && !reprint;
    // The report is laid out with fonts, which need a (screenless) graphical platform.
    const bool fonts = !options->reportNumber.isEmpty();
    if (fonts && !displayAvailable())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (windows && !displayAvailable()) {
        err << "shophost: no display to open the register on; run it under xvfb-run, or use --check.\n";
        return 1;
    }
    std::unique_ptr<QCoreApplication> app = (windows || fonts) ? std::make_unique<QApplication>(argc, argv)
                                                               : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("shophost"));
    HostLogin login;
    try {
        login = startHostSession(*options);
    } catch (const HostStartError &e) {
        err << "shophost: " << e.message() << "\n";
        return 1;
    }
    auto module = shop::createShopWriteoff();
    module->setAdocon(login.connection);
    module->MessageTitle = options->title;
    module->gdtProccessDate = options->processDate;
    module->intUserID = options->userId;
    module->intShopID = options->shopId;
    module->intCompanyID = options->companyId;
    module->strtranstype = options->transType;
    if (reprint) {
        // Standard output may carry the printout itself.
        if (login.createdDemo)
            err << "Created the demo data in " << shop::Connection::withoutPassword(options->database) << ".\n";
        err.flush();
        return options->printNumber.isEmpty() ? module->ExportReport(options->reportNumber, options->output)
                                              : module->PrintText(options->printNumber, options->output);
    }
    if (login.createdDemo)
        out << "Created the demo data in " << shop::Connection::withoutPassword(options->database) << ".\n";
    out << "Opened " << shop::Connection::withoutPassword(options->database) << ": user " << login.userName << " (" << options->userId
        << ") is logged in to shop " << options->shopId << " (" << login.shopName << ") for "
        << options->processDate.toString(Qt::ISODate) << ".\n";
    out.flush();
    if (!windows)
        return 0;

    module->Show();
    return 0;
}
