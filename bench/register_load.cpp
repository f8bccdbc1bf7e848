// How long the register takes to open as a shop's list of returns grows: the demo
// database plus N generated returns inside the date window, on a SQLite file.
//   register_load [N ...]      (default 1000 10000 50000)

#include "demo/DemoData.h"
#include "common/ui/FlexGrid.h"
#include "common/host/ModuleState.h"
#include "common/db/Schema.h"
#include "register/FrmMaster.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

using namespace shop;

namespace {

void addReturns(Connection &con, int count, const QDate &today)
{
    con.beginTrans();
    for (int i = 0; i < count; ++i) {
        const int id = 1000 + i;
        con.execute(QStringLiteral("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, "
                                   "WhRemarks, whcancelled, whposted, Whtransfinished) values (1, ?, ?, ?, ?, ?, ?, 0, 0)"),
                    {id, QStringLiteral("PR%1").arg(id), today.addDays(-(i % 25)), i % 2 ? QStringLiteral("nina")
                                                                                          : QStringLiteral("clerk"),
                     QStringLiteral("Generated return"), i % 17 == 0 ? 1 : 0});
    }
    con.commitTrans();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (const QString &arg : app.arguments().mid(1))
        sizes << arg.toInt();
    if (sizes.isEmpty())
        sizes = {1000, 10000, 50000};
    QTextStream out(stdout);
    const QDate today(2026, 12, 6);
    for (const int n : sizes) {
        QTemporaryDir dir;
        auto con = Connection::open(dir.filePath(QStringLiteral("bench.db")));
        schema::upgrade(*con);
        demo::populate(*con, today);
        addReturns(*con, n, today);

        ModuleState &state = moduleState();
        state = ModuleState{};
        state.gadocon = con;
        state.gintUserID = 1;
        state.gintShopID = 1;
        state.gintCompanyID = 1;
        state.gdtProcessDate = today;
        state.gstrTransType = QStringLiteral("P");

        FrmMaster window;
        QElapsedTimer timer;
        timer.start();
        window.Form_Load();
        const qint64 loadMs = timer.elapsed();

        auto *search = window.findChild<QComboBox *>(QStringLiteral("cboSearch"));
        search->setCurrentIndex(search->findText(QStringLiteral("Return No")));
        auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtsearch"));
        timer.restart();
        text->setText(QStringLiteral("PR1500"));
        emit text->textEdited(text->text());
        const qint64 searchMs = timer.elapsed();
        out << n << " returns: register opens in " << loadMs << " ms (" << window.grid().rows() - 1
            << " rows), first search in " << searchMs << " ms\n";
        out.flush();
        state = ModuleState{};
    }
    return 0;
}
