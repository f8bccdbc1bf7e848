// Many terminals at once: N processes, each a clerk saving, editing and cancelling
// returns for a while, all in one shop and then each in a shop of its own. Per N:
//   terminals <backend> <same-shop|own-shop> N <n> ops/s <x> save-median-ms <x> save-p99-ms <x>
//       retries <n> clerk-errors <n> consistent yes|no (<what does not add up>)
// Consistent means: per shop and item, stock plus what the live returns issue is what
// it was before the run (returns move stock only while they live); every live return's
// location rows hold what its lines take; no cancelled return keeps a live ledger row.
//   terminals [--seconds S] [--history R] [N ...]
//       (10 s; N 1 2 4 8 16 on PostgreSQL, 1 2 4 on SQLite; with R returns stored in shop 1
//       beforehand, under the prefix its numbering continues, so that save times at a
//       short and a long history can be compared; then in shop 1 only)
// on SQLite and, when SHOP_BENCH_PG or SHOP_TEST_PG names a server, on PostgreSQL.
// Exit code 1 when a clerk saw an error or the books do not add up.
//   terminals --terminal <location> <shop> <seconds> <seed>   (one terminal; what the runs start)

#include "support/BenchSupport.h"
#include "support/TerminalLogin.h"

#include <rtnmod08/ModuleError.h>
#include "common/db/Schema.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "support/LedgerGenerator.h"
#include <rtnmod08/DemoData.h>
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnCancel.h"
#include "editor/PurchaseReturnSave.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>
#include <algorithm>
#include <vector>

using namespace shop;
using namespace shop::bench;

namespace {

const QDate kToday(2026, 12, 6);
constexpr int kFirstOwnShop = 101;

// A thousandth of a sack of rice from the front shelf: a shop runs out of nothing
// however long the run.
PurchaseReturnEntry riceReturn(const QString &quantity, TransactionId id = {})
{
    PurchaseReturnEntry e;
    e.mode = id.isStored() ? EntryMode::Stored : EntryMode::New;
    e.id = id;
    e.dateText = QStringLiteral("06/12/2026");
    e.userName = QStringLiteral("clerk");
    e.remarks = QStringLiteral("Terminal");
    e.lines.append({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("RICE-5"), QStringLiteral("Long grain rice 5 kg"),
                    QStringLiteral("75.000"), quantity, QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("6.5"),
                    QStringLiteral("PCS")});
    e.locations.addRow({QStringLiteral("1"), QStringLiteral("Front shelf"), quantity, QStringLiteral("1"), QString(),
                        QStringLiteral("0"), QStringLiteral("5")});
    return e;
}

// One terminal: a save, an edit of one of its live returns or a cancellation, in random
// turn, until the time is up. Prints "save <ms>" per save and one summary line.
int terminal(const QStringList &args)
{
    QTextStream out(stdout);
    logInTerminal(moduleState(), args.at(0), args.at(1).toInt());
    QRandomGenerator random(args.at(3).toUInt());
    const QDeadlineTimer deadline(args.at(2).toLongLong() * 1000);
    std::vector<std::pair<TransactionId, QString>> live;
    long long ops = 0;
    long long errors = 0;
    while (!deadline.hasExpired()) {
        const int pick = live.empty() ? 0 : random.bounded(4);
        const std::size_t which = live.empty() ? 0 : random.bounded(static_cast<quint32>(live.size()));
        ++ops;
        try {
            if (pick <= 2) {
                const bool edit = pick == 2;
                QElapsedTimer timer;
                timer.start();
                const SaveOutcome saved = PurchaseReturnSave(moduleConnection(), moduleSession()).save(
                    edit ? riceReturn(QStringLiteral("0.002"), live.at(which).first) : riceReturn(QStringLiteral("0.001")));
                const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
                if (!saved.saved) {
                    ++errors;
                    QTextStream(stderr) << "refused: " << saved.refusal << Qt::endl;
                    continue;
                }
                out << "save " << ms << '\n';
                if (!edit)
                    live.emplace_back(saved.transId, saved.transNo);
            } else {
                PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(live.at(which).first, live.at(which).second, QStringLiteral("terminal"));
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(which));
            }
        } catch (const ModuleError &e) {
            ++errors;
            QTextStream(stderr) << "error: " << e.description() << Qt::endl;
        }
    }
    out << "ops " << ops << " errors " << errors << " retries " << ModuleWrite::retriesTaken() << Qt::endl;
    moduleState() = ModuleState{};
    return 0;
}

// The shop's stock tables, master rows and arrivals, copied under another id: a shop
// like shop 1 for a terminal of its own.
void copyShop(Connection &con, qint32 from, qint32 to)
{
    const std::pair<const char *, const char *> tables[] = {
        {"ashops", "ShopID"},           {"aPrefix", "shopid"},        {"Lousers", "shopid"},
        {"LOsSettings", "shopid"},      {"losdayclose", "shopid"},    {"ashopprintmessages", "shopid"},
        {"ashopitemDetail", "shopid"},  {"mosShopStock", "shopid"},   {"losLocation", "lShopId"},
        {"loslocationArrivalDetails", "ladShopId"}, {"losExpiryArrivalDetails", "eadShopId"},
        {"losSerialArrivalDetails", "sadShopId"},
    };
    for (const auto &[table, shopColumn] : tables) {
        QStringList columns = con.query(QStringLiteral("select * from %1 where 1 = 0").arg(QLatin1String(table))).fieldNames();
        QStringList values;
        for (const QString &c : columns)
            values << (c.compare(QLatin1String(shopColumn), Qt::CaseInsensitive) == 0 ? QStringLiteral("?") : c);
        con.execute(QStringLiteral("insert into %1 (%2) select %3 from %1 where %4 = ?")
                        .arg(QLatin1String(table), columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')),
                             QLatin1String(shopColumn)),
                    {to, from});
    }
}

struct RunFigures {
    long long ops = 0;
    long long errors = 0;
    long long retries = 0;
    std::vector<double> saveMs;
};

RunFigures runTerminals(const QString &location, const QList<qint32> &shops, int seconds)
{
    std::vector<std::unique_ptr<QProcess>> terminals;
    for (qsizetype t = 0; t < shops.size(); ++t) {
        terminals.push_back(std::make_unique<QProcess>());
        terminals.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        terminals.back()->start(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--terminal"), location, QString::number(shops.at(t)),
                                 QString::number(seconds), QString::number(t + 1)});
    }
    RunFigures figures;
    for (const auto &p : terminals) {
        const bool finished = p->waitForFinished((seconds + 120) * 1000);
        const QStringList lines = QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList summary = lines.isEmpty() ? QStringList() : lines.last().split(QLatin1Char(' '));
        if (!finished || p->exitCode() != 0 || summary.size() != 6) {
            ++figures.errors;
            continue;
        }
        for (const QString &line : lines.mid(0, lines.size() - 1))
            figures.saveMs.push_back(line.section(QLatin1Char(' '), 1).toDouble());
        figures.ops += summary.at(1).toLongLong();
        figures.errors += summary.at(3).toLongLong();
        figures.retries += summary.at(5).toLongLong();
    }
    std::sort(figures.saveMs.begin(), figures.saveMs.end());
    return figures;
}

double percentile(const std::vector<double> &sorted, double p)
{
    if (sorted.empty())
        return 0;
    return sorted.at(std::min(sorted.size() - 1, static_cast<std::size_t>(p * static_cast<double>(sorted.size()))));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--terminal") && args.size() == 5)
        return terminal(args.mid(1));
    int seconds = 10;
    int history = 0;
    while (args.value(0) == QLatin1String("--seconds") || args.value(0) == QLatin1String("--history")) {
        (args.value(0) == QLatin1String("--seconds") ? seconds : history) = args.value(1).toInt();
        args = args.mid(2);
    }
    QTextStream out(stdout);
    bool allWell = true;
    for (const Backend backend : benchBackends()) {
        const std::vector<qint64> counts = sizesFrom(
            args, backend == Backend::Postgres ? std::vector<qint64>{1, 2, 4, 8, 16} : std::vector<qint64>{1, 2, 4});
        // The history is shop 1's: shops of their own would not have it.
        for (const bool ownShops : history > 0 ? std::vector<bool>{false} : std::vector<bool>{false, true}) {
            for (const qint64 n : counts) {
                BenchDatabase db(backend);
                demo::populate(*db.con, kToday);
                if (history > 0) {
                    generateLedgers(*db.con, LedgerSize{10000, history, 1}, kToday);
                    db.con->execute(QStringLiteral("update aPrefix set Prefix = 'GR' where shopid = 1"));
                }
                QList<qint32> shops;
                for (qint32 t = 0; t < n; ++t) {
                    shops << (ownShops ? kFirstOwnShop + t : 1);
                    if (ownShops)
                        copyShop(*db.con, 1, shops.last());
                }
                const QStringList before = stockAndLiveIssues(*db.con);
                const RunFigures f = runTerminals(db.location(), shops, seconds);
                const QStringList wrong = booksFaults(*db.con, before, QStringLiteral("Terminal"));
                out << "terminals " << backendName(backend) << (ownShops ? " own-shop" : " same-shop") << " N " << n
                    << (history > 0 ? QStringLiteral(" history %1").arg(history) : QString())
                    << " ops/s " << QString::number(static_cast<double>(f.ops) / seconds, 'f', 1) << " save-median-ms "
                    << QString::number(percentile(f.saveMs, 0.5), 'f', 2) << " save-p99-ms "
                    << QString::number(percentile(f.saveMs, 0.99), 'f', 2) << " retries " << f.retries
                    << " clerk-errors " << f.errors << " consistent "
                    << (wrong.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no (") + wrong.join(QStringLiteral("; ")) + QLatin1Char(')'))
                    << Qt::endl;
                allWell = allWell && wrong.isEmpty() && f.errors == 0;
            }
        }
    }
    return allWell ? 0 : 1;
}
