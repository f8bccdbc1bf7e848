// How long the item window takes from a scanned packing barcode to the moment the
// clerk may type the quantity (the item identified, its stock checked, its location,
// batch and serial balances read and the combos and the location grid filled), as the
// ledgers grow; against the very statements the window ran, with the same values,
// through bare prepared queries.
//   scan_to_ready [rows per ledger ...]   (default 10000 100000) on SQLite, and on
//                                         PostgreSQL when SHOP_BENCH_PG or SHOP_TEST_PG names a server

#include "common/host/ModuleState.h"
#include "common/db/Dialect.h"
#include "common/db/ConnectionInternals.h"
#include "common/ui/AllocationGrid.h"
#include "support/ScriptedUi.h"
#include "support/LedgerGenerator.h"
#include <rtnmod08/DemoData.h>
#include "editor/frmStockDetails.h"
#include "entry/ModuleWindows.h"
#include "items/frmItemDetails.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <memory>

using namespace shop;

namespace {

const QDate kToday(2026, 12, 6);
constexpr int kScans = 20; // items scanned one after the other in one timing
constexpr qint32 kShop = 1; // keeps its stock by location

void logIn(const ConnectionPtr &con)
{
    ModuleState s;
    s.gadocon = con;
    s.gintUserID = 1;
    s.gintShopID = kShop;
    s.gintCompanyID = 1;
    s.gdtProcessDate = kToday;
    s.gstrTransType = QStringLiteral("P");
    s.gstrMessageTitle = QStringLiteral("Returns");
    s.gstrMode = QStringLiteral("N");
    moduleState() = s;
}

// The k-th scanned item: one that keeps batches and serial numbers.
qint32 scannedItem(int k) { return bench::FirstItemId + 3 + 4 * ((k * 37) % (bench::GeneratedItems / 4)); }

struct Scanned {
    qint32 itemId;
    QString barcode;
};

// A statement the window ran, and where each of its values comes from: the named
// column left of each placeholder says whether it takes the shop, the item or the code.
struct Replayed {
    enum class Value { Shop, Item, Barcode };
    QString text;
    std::vector<Value> values;
};

Replayed replayed(const QString &text)
{
    static const QRegularExpression column(QStringLiteral("(\\w+)\\s*(=|<>)\\s*$"));
    Replayed r{text, {}};
    for (qsizetype at = text.indexOf(QLatin1Char('?')); at >= 0; at = text.indexOf(QLatin1Char('?'), at + 1)) {
        const QString name = column.match(text.left(at)).captured(1).toLower();
        if (name.contains(QLatin1String("barcode")))
            r.values.push_back(Replayed::Value::Barcode);
        else if (name.contains(QLatin1String("shop")))
            r.values.push_back(Replayed::Value::Shop);
        else if (name.contains(QLatin1String("item")))
            r.values.push_back(Replayed::Value::Item);
        else
            qFatal("no value known for a placeholder of: %s", qPrintable(text));
    }
    return r;
}

// Each statement prepared once, as the module's connection keeps them; run for each
// item and read to the end.
class RawScan {
public:
    RawScan(Connection &con, const QStringList &texts)
    {
        for (const QString &text : texts) {
            Step s{replayed(text), std::make_unique<QSqlQuery>(sqlDatabase(con))};
            s.query->setForwardOnly(true);
            if (!s.query->prepare(Dialect::of(con.backend()).translate(text)))
                qFatal("cannot prepare: %s", qPrintable(text));
            m_steps.push_back(std::move(s));
        }
    }
    int run(const Scanned &item)
    {
        int cells = 0;
        for (Step &s : m_steps) {
            QSqlQuery &q = *s.query;
            for (const Replayed::Value v : s.replayed.values)
                q.addBindValue(v == Replayed::Value::Shop ? QVariant(kShop)
                                   : v == Replayed::Value::Item ? QVariant(item.itemId)
                                                                : QVariant(item.barcode));
            q.exec();
            const int columns = q.record().count();
            while (q.next())
                for (int c = 0; c < columns; ++c)
                    cells += q.value(c).isValid() ? 1 : 0;
            q.finish();
        }
        return cells;
    }

private:
    struct Step {
        Replayed replayed;
        std::unique_ptr<QSqlQuery> query;
    };
    std::vector<Step> m_steps;
};

// Types the code and Enter as a scanner does; true when the window then waits for the
// quantity.
bool scan(frmItemDetails &w, const QString &code)
{
    w.controls().txtBarcode->setFocus();
    w.controls().txtBarcode->selectAll();
    QTest::keyClicks(w.controls().txtBarcode, code);
    QTest::keyClick(w.controls().txtBarcode, Qt::Key_Return);
    return w.focusWidget() == w.controls().txtWriteQty && w.locationGrid().combo().count() > 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A message the window shows is answered at once and ends the run with its text,
    // rather than waiting for a clerk who is not there.
    test::ScriptedUiScope ui;
    const auto readyOrFatal = [&](bool ready) {
        if (!ready || !ui->messageTexts().isEmpty())
            qFatal("a scanned item did not get ready for its quantity without a message: %s", qPrintable(ui->messageTexts().join(" / ")));
    };
    QTextStream out(stdout);
    std::vector<Scanned> items;
    for (int k = 0; k < kScans; ++k)
        items.push_back({scannedItem(k), bench::generatedBarcode(scannedItem(k))});

    for (const Backend backend : bench::benchBackends()) {
        for (const qint64 n : bench::sizesFrom(app.arguments().mid(1), {10000, 100000})) {
            bench::BenchDatabase db(backend);
            demo::populate(*db.con, kToday);
            bench::generateLedgers(*db.con, bench::LedgerSize{static_cast<int>(n), 1000, 1}, kToday);
            logIn(db.con);
            installModuleWindows();

            frmStockDetails editor;
            editor.lines().lineMode = LineMode::Add;
            frmItemDetails window(editor.lines(), TransactionId(), &editor);
            window.Form_Load();
            window.show();
            window.activateWindow();
            if (!QTest::qWaitForWindowActive(&window))
                qFatal("the item window did not become active");

            // One scan untimed, to learn which statements the window runs.
            QStringList statements;
            setStatementObserver(*db.con, [&](const QString &kind, const QString &text) {
                if (kind == QLatin1String("query"))
                    statements << text;
            });
            readyOrFatal(scan(window, items.front().barcode));
            setStatementObserver(*db.con, {});

            bool ready = true;
            const double module = bench::medianMs(5, [&] {
                for (const Scanned &item : items)
                    ready = scan(window, item.barcode) && ready;
            });
            readyOrFatal(ready);

            RawScan raw(*db.con, statements);
            const double rawMs = bench::medianMs(5, [&] {
                for (const Scanned &item : items)
                    raw.run(item);
            });
            // What Qt itself spends on the keys of a code typed into a bare line edit,
            // which the module's figure includes and the raw one does not.
            QLineEdit bare;
            bare.show();
            const double typing = bench::medianMs(5, [&] {
                for (const Scanned &item : items) {
                    bare.clear();
                    QTest::keyClicks(&bare, item.barcode);
                    QTest::keyClick(&bare, Qt::Key_Return);
                }
            });
            bench::report(out, QStringLiteral("scan_to_ready"), backend, n, module / kScans, rawMs / kScans,
                          bench::peakRssMiB(), QStringLiteral("%1 statements a scan, typing the code alone %2 ms")
                              .arg(statements.size())
                              .arg(typing / kScans, 0, 'f', 2));
            window.hide();
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
