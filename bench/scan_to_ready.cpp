// How long the item window takes from a scanned packing barcode to the moment the
// clerk may type the quantity (the item identified, its stock checked, its location,
// batch and serial balances read and the combos and the grids filled), as the ledgers
// grow; against one statement that finds the item by its barcode with its facts,
// description and stock, joined with its three balance lists, prepared once and run on
// a bare query. The code arrives in the box whole, as a scanner's burst does: what Qt
// spends on single keys is in neither figure.
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
#include "stock/StockBalances.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

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

// The bare statement: the item of the barcode with the facts the line records, its
// description while the shop holds stock of it and that stock; then its balance lists
// (the statement the balances run, the item taken from the first part rather than
// bound), padded to one shape.
QString oneStatement(Connection &con)
{
    QString lists;
    for (const BalanceStatement &s : StockBalances::statements(BalanceOwner{kShop, 1, {}, 1901}, {}, {}))
        if (s.name == QLatin1String("lists"))
            lists = QString(s.statement).replace(QRegularExpression(QStringLiteral("(\\w*ItemId)\\s*=\\s*\\?"), QRegularExpression::CaseInsensitiveOption),
                                                 QStringLiteral("\\1 = (select itemid from scanned)"));
    const QString text = QStringLiteral(
        "with scanned as (select a.itemid, a.ExpiryNoOfDays, a.SerialNoActive, a.SerialNodupli, a.Itemcode "
        "from aItemPackingDetail apd, aItem a where apd.packingbarcode = ? and apd.itemid = a.itemid "
        "and a.itemtype <> 'B' and apd.Active = 1 and a.Active = 1) "
        "select 0 k, i.itemid n, i.Itemcode t, cast(null as date) d, "
        "(select sum(s.stock) from vwInquiryShopStock s where s.itemid = i.itemid and s.shopid = ?) q, "
        "case when exists (select 1 from vwInquiryShopStock s where s.itemid = i.itemid and s.shopid = ? and s.stock > 0) "
        "then v.itemdescription end t2, i.ExpiryNoOfDays f1, i.SerialNoActive f2, i.SerialNodupli f3 "
        "from scanned i, vwitemdescription v where v.itemid = i.itemid "
        "union all select x.k, x.n, x.t, x.d, x.q, null, null, null, null from (%1) x")
                             .arg(lists);
    return Dialect::of(con.backend()).translate(text);
}

// Prepared once; run for each barcode and read to the end.
class RawScan {
public:
    explicit RawScan(Connection &con) : m_query(sqlDatabase(con))
    {
        m_query.setForwardOnly(true);
        if (!m_query.prepare(oneStatement(con)))
            qFatal("cannot prepare the one-statement scan: %s", qPrintable(m_query.lastError().text()));
    }
    [[gnu::noinline]] int run(const QString &barcode)
    {
        // The barcode, then the shop for the stock, the stock check and each ledger.
        m_query.addBindValue(barcode);
        for (int k = 0; k < 2 + 6; ++k)
            m_query.addBindValue(kShop);
        if (!m_query.exec())
            qFatal("the one-statement scan failed: %s", qPrintable(m_query.lastError().text()));
        int cells = 0;
        const int columns = m_query.record().count();
        while (m_query.next())
            for (int c = 0; c < columns; ++c)
                cells += m_query.value(c).isValid() ? 1 : 0;
        m_query.finish();
        return cells;
    }

private:
    QSqlQuery m_query;
};

// Puts the code into the box and presses Enter, as a scanner's burst ends; true when the window then waits for the
// quantity.
bool scan(frmItemDetails &w, const QString &code)
{
    w.controls().txtBarcode->setFocus();
    w.controls().txtBarcode->setText(code);
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

            // One scan untimed, to count the statements a scan runs.
            int statements = 0;
            setStatementObserver(*db.con, [&](const QString &kind, const QString &) { statements += kind == QLatin1String("query"); });
            readyOrFatal(scan(window, items.back().barcode));
            setStatementObserver(*db.con, {});

            RawScan raw(*db.con);
            bool ready = true;
            int cells = 0;
            const auto [module, rawMs] = bench::pairedMediansMs(
                7,
                [&] {
                    for (const Scanned &item : items)
                        ready = scan(window, item.barcode) && ready;
                },
                [&] {
                    for (const Scanned &item : items)
                        cells += raw.run(item.barcode);
                });
            readyOrFatal(ready);
            if (cells == 0)
                qFatal("the one-statement scan read nothing");
            bench::report(out, QStringLiteral("scan_to_ready"), backend, n, module / kScans, rawMs / kScans,
                          bench::peakRssMiB(), QStringLiteral("%1 statements a scan").arg(statements));
            window.hide();
            moduleState() = ModuleState{};
        }
    }
    return 0;
}
