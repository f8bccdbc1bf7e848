// How long the register takes to open as a shop's list of returns grows, against the
// bare list statement filling a plain table with the same cells; and its memory.
//   register_load [N ...]      (default 10000 100000) on SQLite, and on PostgreSQL
//                              when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/host/ModuleState.h"
#include "register/RegisterGrid.h"
#include "support/LedgerGenerator.h"
#include "demo/DemoData.h"
#include "register/FrmMaster.h"
#include "register/RegisterData.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableWidget>

using namespace shop;

namespace {

const QDate kToday(2026, 12, 6);

void logIn(const ConnectionPtr &con)
{
    ModuleState &state = moduleState();
    state = ModuleState{};
    state.gadocon = con;
    state.gintUserID = 1;
    state.gintShopID = 1;
    state.gintCompanyID = 1;
    state.gdtProcessDate = kToday;
    state.gstrTransType = QStringLiteral("P");
}

// The same statement through a bare query into a plain table of text cells.
int rawLoad(Connection &con, const QString &statement)
{
    QSqlQuery q(con.database());
    q.setForwardOnly(true);
    q.exec(Dialect::of(con.backend()).translate(statement));
    QTableWidget table(0, 7);
    int row = 0;
    while (q.next()) {
        table.insertRow(row);
        for (int c = 0; c < 7; ++c)
            table.setItem(row, c, new QTableWidgetItem(q.value(c).toString())); // owned by the table
        ++row;
    }
    return row;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const Backend backend : bench::benchBackends()) {
        for (const qint64 n : bench::sizesFrom(app.arguments().mid(1), {10000, 100000})) {
            bench::BenchDatabase db(backend);
            demo::populate(*db.con, kToday);
            bench::generateLedgers(*db.con, bench::LedgerSize{1000, static_cast<int>(n), 1}, kToday);
            logIn(db.con);

            int rows = 0;
            const double module = bench::medianMs(3, [&] {
                FrmMaster window;
                window.Form_Load();
                rows = window.grid().rows() - 1;
            });
            const QString statement = reg::listQuery(kToday.addDays(-30), 1, QStringLiteral("P"));
            const double raw = bench::medianMs(3, [&] { rawLoad(*db.con, statement); });

            // The first prefix search of a full register.
            FrmMaster window;
            window.Form_Load();
            auto *search = window.findChild<QComboBox *>(QStringLiteral("cboSearch"));
            search->setCurrentIndex(search->findText(QStringLiteral("Return No")));
            auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtsearch"));
            QElapsedTimer timer;
            timer.start();
            text->setText(QStringLiteral("GR150"));
            emit text->textEdited(text->text());
            const double searchMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            bench::report(out, QStringLiteral("register load"), backend, n, module, raw,
                          QStringLiteral("%1 rows, search %2 ms, peak RSS %3 MiB")
                              .arg(rows)
                              .arg(searchMs, 0, 'f', 1)
                              .arg(bench::peakRssMiB(), 0, 'f', 0));
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
