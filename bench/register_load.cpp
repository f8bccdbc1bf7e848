// The register opened over N returns until its first screen is painted, against a bare
// QSqlQueryModel over the same list statement in a QTableView; and a prefix search typed
// a key at a time, against the indexed statement it needs (the page from the first
// match) through a bare prepared query.
// The peak memory is the opening's, from a fresh high-water mark; run-all runs each
// size in a process of its own.
//   register_load [N ...]      (default 10000 100000) on SQLite, and on PostgreSQL
//                              when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/db/ConnectionInternals.h"
#include "common/db/Dialect.h"
#include "common/host/ModuleState.h"
#include "register/FrmMaster.h"
#include "register/RegisterData.h"
#include "register/RegisterModel.h"
#include "support/BenchSupport.h"
#include "support/LedgerGenerator.h"

#include <rtnmod08/DemoData.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>

using namespace shop;

namespace {

const QDate kToday(2026, 12, 6);
const QString kTyped = QStringLiteral("GR150");
const QSize kScreen(1000, 600);

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

// The bare search: per keystroke, the page of rows from the first number at or after
// the text, as long as the register's page, with the cells read as text.
class BareSearch {
public:
    BareSearch(Connection &con, const QString &listQuery) : m_page(sqlDatabase(con))
    {
        const Dialect &dialect = Dialect::of(con.backend());
        const QString key = QStringLiteral("upper(coalesce(WhNo, ''))");
        const QString base = listQuery.left(listQuery.lastIndexOf(QLatin1String(" order by")));
        prepare(m_page, dialect.translate(QStringLiteral("select ") + key + QStringLiteral(", ") + base.mid(7)
                                          + QStringLiteral(" and ") + key + QStringLiteral(" >= ? order by ") + key
                                          + QStringLiteral(", WhID limit ") + QString::number(RegisterModel::PageSize)));
    }
    bool find(const QString &typed)
    {
        m_page.bindValue(0, typed.toUpper());
        run(m_page);
        std::vector<QStringList> rows;
        while (m_page.next()) {
            QStringList cells;
            for (int c = 1; c <= 7; ++c)
                cells << m_page.value(c).toString().trimmed();
            rows.push_back(std::move(cells));
        }
        return !rows.empty();
    }

private:
    static void prepare(QSqlQuery &q, const QString &sql)
    {
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            qFatal("register_load: %s", qPrintable(q.lastError().text()));
    }
    static void run(QSqlQuery &q)
    {
        if (!q.exec())
            qFatal("register_load: %s", qPrintable(q.lastError().text()));
    }
    QSqlQuery m_page;
};

void typeIntoSearch(FrmMaster &window)
{
    auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtsearch"));
    for (int i = 1; i <= kTyped.size(); ++i) {
        text->setText(kTyped.left(i));
        emit text->textEdited(text->text());
    }
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
            db.con->executeRaw(QStringLiteral("analyze"));
            logIn(db.con);
            const QString statement = reg::listQuery(kToday.addDays(-30), 1, QStringLiteral("P"));

            int rows = 0;
            const auto openRegister = [&] {
                FrmMaster window;
                window.resize(kScreen);
                window.Form_Load();
                window.show();
                window.grab();
                rows = window.grid().rows() - 1;
            };
            const auto openBare = [&] {
                QSqlQueryModel model;
                model.setQuery(Dialect::of(backend).translate(statement), sqlDatabase(*db.con));
                QTableView view;
                view.setModel(&model);
                view.resize(kScreen);
                view.show();
                view.grab();
            };
            // Once each untimed: the first window of a process loads fonts and styles. The
            // bare model's turn comes after the opening's peak is read.
            openRegister();
            bench::resetPeakRss();
            const double module = bench::medianMs(3, openRegister);
            const double peak = bench::peakRssMiB();
            openBare();
            const double raw = bench::medianMs(3, openBare);
            bench::report(out, QStringLiteral("register_open"), backend, n, module, raw, peak,
                          QStringLiteral("%1 rows listed").arg(rows));

            // A prefix search typed a key at a time into an open register, against the bare
            // statement, the two in turn so that a busy machine slows both alike; per
            // keystroke. A typing takes about a millisecond and a half: more runs than
            // elsewhere, so that the median is not one disturbed run. The first typing of
            // each, untimed, orders the register by number and prepares the statements.
            constexpr int SearchRuns = 9;
            FrmMaster window;
            window.Form_Load();
            auto *search = window.findChild<QComboBox *>(QStringLiteral("cboSearch"));
            search->setCurrentIndex(search->findText(QStringLiteral("Return No")));
            BareSearch bare(*db.con, statement);
            const auto typeBare = [&] {
                for (int i = 1; i <= kTyped.size(); ++i)
                    bare.find(kTyped.left(i));
            };
            typeIntoSearch(window);
            typeBare();
            const auto [typed, bareTyped] = bench::pairedMediansMs(SearchRuns, [&] { typeIntoSearch(window); }, typeBare);
            const QString found = window.grid().textMatrix(window.grid().row(), 1);
            bench::report(out, QStringLiteral("register_search"), backend, n, typed / kTyped.size(),
                          bareTyped / kTyped.size(), -1, QStringLiteral("typed %1, found %2").arg(kTyped, found));
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
