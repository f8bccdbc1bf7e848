// A host application that embeds the purchase-return module: it opens the shop's
// database, puts its own form-colour component in place of the module's and shows the
// register for user 1 in shop 1 of company 1.
//     embed_host DATABASE [--close]
// With --close it closes the register as soon as it is up, for unattended checks.
#include <rtnmod08/rtnmod08.h>

#include <QApplication>
#include <QDate>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// The host's colouring of the module's windows; this one only tells which window it got.
class HostFormColour : public shop::clsFormcolor {
public:
    void Applyformcolor(QWidget *window) override
    {
        std::printf("host colours %s\n", qPrintable(window->objectName()));
    }
};

void closeRegisterOnceUp(QApplication &app)
{
    auto *poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, poll, [poll] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            poll->stop();
            std::printf("register opened: %s\n", qPrintable(window->windowTitle()));
            window->close();
        }
    });
    poll->start(50);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: embed_host DATABASE [--close]\n");
        return 2;
    }
    shop::ComponentRegistry::registerFactory<shop::clsFormcolor>(
        shop::progid::FormColor, [] { return std::make_shared<HostFormColour>(); });

    auto module = shop::createShopWriteoff();
    try {
        module->setAdocon(shop::Connection::open(args.at(1)));
    } catch (const shop::ModuleError &e) {
        std::fprintf(stderr, "embed_host: %s\n", e.what());
        return 1;
    }
    module->MessageTitle = QStringLiteral("Purchase Returns");
    module->gdtProccessDate = QDate::currentDate();
    module->intUserID = 1;
    module->intShopID = 1;
    module->intCompanyID = 1;
    module->strtranstype = QStringLiteral("P");

    if (args.contains(QStringLiteral("--close")))
        closeRegisterOnceUp(app);
    module->Show(); // modal: returns when the register is closed
    std::printf("register closed\n");
    return 0;
}
