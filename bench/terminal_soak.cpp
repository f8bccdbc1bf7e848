// Two terminals on one shop save, edit and cancel returns in random turn for a while
// (60 seconds unless told otherwise), on SQLite and, when a server is named, on
// PostgreSQL. Each backend ends with one line:
//   terminal_soak <backend> seconds <s> operations <n> refused <n> retries <n> clerk-deadlocks <n>
//       clerk-errors <n> consistent yes|no (<what does not add up>)
// Consistent means: the books add up as `terminals` checks them (per shop and item, stock
// plus what the live returns issue is what it was before the run; live returns' location
// rows hold their lines; no cancelled return keeps a live ledger row), and each live
// return holds its batch row. Exit code 1 when a clerk saw a deadlock or an error, or the books do not add up.
//   terminal_soak [seconds]

#include "support/BenchSupport.h"

#include <rtnmod08/DemoData.h>

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

using namespace shop;
using namespace shop::bench;

namespace {

// The soak's returns take milk from a location and a batch as well: each live one holds
// one batch row.
QStringList faults(Connection &con, const QStringList &before)
{
    QStringList found = booksFaults(con, before, QStringLiteral("Soak"));
    const int withoutBatch = con.scalar(QStringLiteral(
        "select count(*) from LOsPurchaseReturnHeader h where h.whShopID = 1 and h.WhRemarks = 'Soak' and h.whcancelled = 0 "
        "and (select count(*) from losExpiryIssueDetails where eidShopId = 1 and eidInterfaceId = 1901 "
        "and eidTransactionId = h.WhID and eidCancel = 0) <> 1")).toInt();
    if (withoutBatch > 0)
        found << QStringLiteral("%1 live returns without their batch row").arg(withoutBatch);
    return found;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int seconds = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 60;
    bool allWell = true;
    for (Backend backend : benchBackends()) {
        BenchDatabase db(backend);
        demo::populate(*db.con, QDate(2026, 12, 6));
        const QStringList before = stockAndLiveIssues(*db.con);
        QProcess terminals[2];
        for (int t = 0; t < 2; ++t)
            terminals[t].start(QCoreApplication::applicationDirPath() + QStringLiteral("/concurrent_saves"),
                               {db.location(), QStringLiteral("1"), QStringLiteral("--soak"), QString::number(seconds),
                                QString::number(t + 1)});
        long long totals[5] = {}; // ops, refused, errors, deadlocks, retries
        QString errors;
        for (QProcess &p : terminals) {
            p.waitForFinished(seconds * 1000 + 120000);
            errors += QString::fromUtf8(p.readAllStandardError());
            const QStringList said = QString::fromUtf8(p.readAllStandardOutput()).split(QRegularExpression(QStringLiteral("\\s+")),
                                                                                         Qt::SkipEmptyParts);
            if (p.exitCode() != 0 || said.size() != 10)
                ++totals[2];
            for (int i = 0; i < 5; ++i)
                totals[i] += said.value(2 * i + 1).toLongLong();
        }
        const QStringList wrong = faults(*db.con, before);
        out << "terminal_soak " << backendName(backend) << " seconds " << seconds << " operations " << totals[0]
            << " refused " << totals[1] << " retries " << totals[4] << " clerk-deadlocks " << totals[3] << " clerk-errors "
            << totals[2] << " consistent " << (wrong.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no (") + wrong.join(QStringLiteral("; ")) + QLatin1Char(')'))
            << Qt::endl;
        if (!errors.isEmpty())
            QTextStream(stderr) << errors;
        allWell = allWell && wrong.isEmpty() && totals[2] == 0 && totals[3] == 0;
    }
    return allWell ? 0 : 1;
}
