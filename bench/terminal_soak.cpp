// Two terminals on one shop save, edit and cancel returns in random turn for a while
// (60 seconds unless told otherwise), on SQLite and, when a server is named, on
// PostgreSQL. Each backend ends with one line:
//   terminal_soak <backend> seconds <s> operations <n> refused <n> retries <n> clerk-deadlocks <n>
//       clerk-errors <n> consistent yes|no (<what does not add up>)
// Consistent means: each item's stock is what arrived less what the live returns issue
// (the stock before plus the issues before, as the run started); every live return has
// its ledger rows, holding what its lines take; no cancelled return keeps a live ledger
// row. Exit code 1 when a clerk saw a deadlock or an error, or the books do not add up.
//   terminal_soak [seconds]

#include "support/BenchSupport.h"

#include "common/core/Decimal.h"
#include "demo/DemoData.h"

#include <QCoreApplication>
#include <QDate>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

using namespace shop;
using namespace shop::bench;

namespace {

// Per item of shop 1: its stock plus what the live returns took, which no return changes.
QMap<int, QString> arrivals(Connection &con)
{
    const Recordset rs = con.query(QStringLiteral(
        "select m.itemid, m.stock + coalesce((select sum(d.WdPurchaseReturnQty) from LOsPurchaseReturnDetail d, "
        "LOsPurchaseReturnHeader h where d.wdshopid = h.whShopID and d.WdID = h.WhID and h.whcancelled = 0 "
        "and h.whShopID = 1 and d.WdItemID = m.itemid), 0) from mosShopStock m where m.shopid = 1 order by m.itemid"));
    QMap<int, QString> byItem;
    for (int r = 0; r < rs.recordCount(); ++r)
        byItem.insert(rs.value(r, 0).toInt(), Decimal::parse(rs.value(r, 1).toString()).value_or(Decimal()).toString());
    return byItem;
}

// What does not add up, or nothing.
QStringList faults(Connection &con, const QMap<int, QString> &before)
{
    QStringList found;
    const QMap<int, QString> after = arrivals(con);
    for (auto it = before.begin(); it != before.end(); ++it)
        if (after.value(it.key()) != it.value())
            found << QStringLiteral("item %1: stock plus issues %2, arrived %3").arg(it.key()).arg(after.value(it.key()), it.value());
    // The soak's returns take rice from a location and milk from a location and a batch.
    const int withoutRows = con.scalar(QStringLiteral(
        "select count(*) from LOsPurchaseReturnHeader h where h.whShopID = 1 and h.WhRemarks = 'Soak' and h.whcancelled = 0 "
        "and ((select coalesce(sum(lidItemQty), 0) from losLocationIssueDetails where lidShopId = 1 and lidInterfaceId = 1901 "
        "and lidTransId = h.WhID and lidCancel = 0) <> (select sum(WdPurchaseReturnQty) from LOsPurchaseReturnDetail "
        "where wdshopid = 1 and WdID = h.WhID) "
        "or (select count(*) from losExpiryIssueDetails where eidShopId = 1 and eidInterfaceId = 1901 "
        "and eidTransactionId = h.WhID and eidCancel = 0) <> 1)")).toInt();
    if (withoutRows > 0)
        found << QStringLiteral("%1 live returns without their ledger rows").arg(withoutRows);
    const int cancelledLive = con.scalar(QStringLiteral(
        "select count(*) from LOsPurchaseReturnHeader h where h.whShopID = 1 and h.whcancelled = 1 and "
        "(exists (select 1 from losLocationIssueDetails where lidShopId = 1 and lidInterfaceId = 1901 and lidTransId = h.WhID "
        "and lidCancel = 0) or exists (select 1 from losExpiryIssueDetails where eidShopId = 1 and eidInterfaceId = 1901 "
        "and eidTransactionId = h.WhID and eidCancel = 0) or exists (select 1 from losSerialIssueDetails where sidShopId = 1 "
        "and sidInterfaceId = 1901 and sidTransactionId = h.WhID and sidCancel = 0))")).toInt();
    if (cancelledLive > 0)
        found << QStringLiteral("%1 cancelled returns with live ledger rows").arg(cancelledLive);
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
        const QMap<int, QString> before = arrivals(*db.con);
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
