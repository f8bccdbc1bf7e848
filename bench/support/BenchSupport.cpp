#include "support/BenchSupport.h"

#include <QFile>
#include <QElapsedTimer>
#include <algorithm>

namespace shop::bench {

namespace {

QString serverUrl()
{
    const QString bench = qEnvironmentVariable("SHOP_BENCH_PG");
    return bench.isEmpty() ? qEnvironmentVariable("SHOP_TEST_PG") : bench;
}

} // namespace

BenchDatabase::BenchDatabase(Backend backend) : TestDatabase(backend, Content::Schema, serverUrl()) {}

std::vector<Backend> benchBackends()
{
    // SHOP_BENCH_BACKENDS ("sqlite,postgresql") narrows the choice; PostgreSQL needs a server.
    const QString chosen = qEnvironmentVariable("SHOP_BENCH_BACKENDS", QStringLiteral("sqlite,postgresql")).toLower();
    const QStringList names = chosen.split(QLatin1Char(','), Qt::SkipEmptyParts);
    std::vector<Backend> backends;
    if (names.contains(QLatin1String("sqlite")))
        backends.push_back(Backend::Sqlite);
    if (names.contains(QLatin1String("postgresql")) && !serverUrl().isEmpty())
        backends.push_back(Backend::Postgres);
    return backends;
}

QString backendName(Backend backend)
{
    switch (backend) {
    case Backend::Sqlite:
        return QStringLiteral("SQLite");
    case Backend::Postgres:
        return QStringLiteral("PostgreSQL");
    case Backend::None:
        break;
    }
    return QStringLiteral("(no database)");
}

double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

std::pair<double, double> pairedMediansMs(int runs, const std::function<void()> &module, const std::function<void()> &raw)
{
    std::vector<double> moduleTimes, rawTimes;
    const auto timed = [](const std::function<void()> &work) {
        QElapsedTimer timer;
        timer.start();
        work();
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    };
    for (int i = 0; i < runs; ++i) {
        moduleTimes.push_back(timed(module));
        rawTimes.push_back(timed(raw));
    }
    std::sort(moduleTimes.begin(), moduleTimes.end());
    std::sort(rawTimes.begin(), rawTimes.end());
    return {moduleTimes.at(moduleTimes.size() / 2), rawTimes.at(rawTimes.size() / 2)};
}

double peakRssMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void resetPeakRss()
{
    // Writing 5 to clear_refs starts the high-water mark again from what is resident now.
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

void report(QTextStream &out, const QString &flow, Backend backend, qint64 size, double moduleMs, double rawMs,
            double peakMiB, const QString &note)
{
    const QString backendText = backend == Backend::None ? QStringLiteral("none") : backendName(backend);
    out << flow << '\t' << backendText << '\t' << size << '\t' << QString::number(moduleMs, 'f', 3) << '\t'
        << QString::number(rawMs, 'f', 3) << '\t' << QString::number(rawMs > 0 ? moduleMs / rawMs : 0, 'f', 2) << '\t'
        << (peakMiB >= 0 ? QString::number(peakMiB, 'f', 0) : QString()) << Qt::endl;
    if (!note.isEmpty())
        QTextStream(stderr) << flow << ' ' << backendText << ' ' << size << ": " << note << Qt::endl;
}

std::vector<qint64> sizesFrom(const QStringList &arguments, std::vector<qint64> defaults)
{
    std::vector<qint64> sizes;
    for (const QString &a : arguments)
        if (a.toLongLong() > 0)
            sizes.push_back(a.toLongLong());
    return sizes.empty() ? defaults : sizes;
}

QStringList stockAndLiveIssues(Connection &con)
{
    const Recordset rs = con.query(QStringLiteral(
        "select m.shopid, m.itemid, cast(m.stock + coalesce((select sum(d.WdPurchaseReturnQty) from LOsPurchaseReturnDetail d, "
        "LOsPurchaseReturnHeader h where d.wdshopid = h.whShopID and d.WdID = h.WhID and h.whcancelled = 0 "
        "and h.whShopID = m.shopid and d.WdItemID = m.itemid), 0) as numeric(18,3)) from mosShopStock m "
        "order by m.shopid, m.itemid"));
    QStringList rows;
    for (int r = 0; r < rs.recordCount(); ++r)
        rows << QStringLiteral("%1/%2 %3").arg(rs.value(r, 0).toString(), rs.value(r, 1).toString(), rs.value(r, 2).toString());
    return rows;
}

QStringList booksFaults(Connection &con, const QStringList &before, const QString &remarks)
{
    QStringList found;
    const QStringList after = stockAndLiveIssues(con);
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i)
        if (before.value(i) != after.value(i))
            found << QStringLiteral("stock plus live issues %1 was %2").arg(after.value(i), before.value(i));
    const int unmatched = con.scalar(QStringLiteral(
        "select count(*) from LOsPurchaseReturnHeader h where h.WhRemarks = ? and h.whcancelled = 0 and "
        "(select coalesce(sum(lidItemQty), 0) from losLocationIssueDetails where lidShopId = h.whShopID and "
        "lidInterfaceId = 1901 and lidTransId = h.WhID and lidCancel = 0) <> (select sum(WdPurchaseReturnQty) from "
        "LOsPurchaseReturnDetail where wdshopid = h.whShopID and WdID = h.WhID)"), {remarks}).toInt();
    if (unmatched > 0)
        found << QStringLiteral("%1 live returns whose location rows do not hold their lines").arg(unmatched);
    const int cancelledLive = con.scalar(QStringLiteral(
        "select count(*) from LOsPurchaseReturnHeader h where h.whcancelled = 1 and "
        "(exists (select 1 from losLocationIssueDetails where lidShopId = h.whShopID and lidInterfaceId = 1901 "
        "and lidTransId = h.WhID and lidCancel = 0) or exists (select 1 from losExpiryIssueDetails where "
        "eidShopId = h.whShopID and eidInterfaceId = 1901 and eidTransactionId = h.WhID and eidCancel = 0) "
        "or exists (select 1 from losSerialIssueDetails where sidShopId = h.whShopID and sidInterfaceId = 1901 "
        "and sidTransactionId = h.WhID and sidCancel = 0))")).toInt();
    if (cancelledLive > 0)
        found << QStringLiteral("%1 cancelled returns with live ledger rows").arg(cancelledLive);
    return found;
}

} // namespace shop::bench
