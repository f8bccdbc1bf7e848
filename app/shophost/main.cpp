#include "HostOptions.h"
#include "HostSession.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const auto options = parseHostOptions(app.arguments().mid(1), error);
    if (!options) {
        err << "shophost: " << error << "\n" << "Try shophost --help.\n";
        return 1;
    }
    if (options->help) {
        out << hostUsage();
        return 0;
    }
    try {
        const HostLogin login = startHostSession(*options);
        if (login.createdDemo)
            out << "Created the demo data in " << options->database << ".\n";
        out << "Opened " << options->database << ": user " << login.userName << " (" << options->userId
            << ") is logged in to shop " << options->shopId << " (" << login.shopName << ") for "
            << options->processDate.toString(Qt::ISODate) << ".\n";
    } catch (const HostStartError &e) {
        err << "shophost: " << e.message() << "\n";
        return 1;
    }
    return 0;
}
