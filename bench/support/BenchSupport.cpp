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
    std::vector<Backend> backends{Backend::Sqlite};
    if (!serverUrl().isEmpty())
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

void report(QTextStream &out, const QString &benchmark, Backend backend, qint64 size, double moduleMs, double rawMs,
            const QString &extra)
{
    out << qSetFieldWidth(16) << Qt::left << benchmark << qSetFieldWidth(11) << backendName(backend)
        << qSetFieldWidth(9) << Qt::right << size << qSetFieldWidth(0) << "  module " << qSetFieldWidth(9)
        << QString::number(moduleMs, 'f', 2) << qSetFieldWidth(0) << " ms  raw " << qSetFieldWidth(9)
        << QString::number(rawMs, 'f', 2) << qSetFieldWidth(0) << " ms  ratio "
        << QString::number(rawMs > 0 ? moduleMs / rawMs : 0, 'f', 2) << (extra.isEmpty() ? QString() : "  " + extra)
        << Qt::endl;
}

std::vector<qint64> sizesFrom(const QStringList &arguments, std::vector<qint64> defaults)
{
    std::vector<qint64> sizes;
    for (const QString &a : arguments)
        if (a.toLongLong() > 0)
            sizes.push_back(a.toLongLong());
    return sizes.empty() ? defaults : sizes;
}

} // namespace shop::bench
