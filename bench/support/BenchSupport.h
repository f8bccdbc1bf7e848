#pragma once

#include <rtnmod08/Connection.h>
#include "support/TestDatabase.h"

#include <QTextStream>
#include <functional>
#include <utility>
#include <vector>

namespace shop::bench {

// A fresh database for one size of one benchmark: the tests' scratch database, on the
// server named by SHOP_BENCH_PG (else SHOP_TEST_PG).
class BenchDatabase : public test::TestDatabase {
public:
    explicit BenchDatabase(Backend backend);
};

// SQLite, and PostgreSQL when a server is named; SHOP_BENCH_BACKENDS (a comma list of
// "sqlite" and "postgresql") keeps to those it names.
std::vector<Backend> benchBackends();
QString backendName(Backend backend);

// The median of `runs` timings of `work`, in milliseconds; `prepare` runs untimed
// before each.
double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {});

// The medians of `runs` timings of the module's work and of its baseline, in
// milliseconds, the two run in turn so that a busy machine slows both alike.
std::pair<double, double> pairedMediansMs(int runs, const std::function<void()> &module, const std::function<void()> &raw);

// The process's peak resident memory since it started or since the last
// resetPeakRss(), in MiB.
double peakRssMiB();
void resetPeakRss();

// The header of the table every benchmark prints, tab-separated.
inline constexpr const char *ReportHeader = "flow\tbackend\tsize\tmodule_ms\traw_ms\tratio\tpeak_mib";
// Prints one line of it: <flow> <backend> <size> <module ms> <raw ms> <ratio> <peak MiB>
// (the peak empty when not measured); a note goes to standard error.
void report(QTextStream &out, const QString &flow, Backend backend, qint64 size, double moduleMs, double rawMs,
            double peakMiB = -1, const QString &note = {});

// Per shop and item: stock plus what the live returns issue, which no save, edit or
// cancellation changes; what `booksFaults` compares after a run.
QStringList stockAndLiveIssues(Connection &con);
// What does not add up after terminals saved, edited and cancelled the returns whose
// remarks are `remarks`: in every shop, stock plus live issues is what it was `before`;
// every live return's location rows hold what its lines take; no cancelled return keeps
// a live row in any issue ledger. Nothing when the books add up.
QStringList booksFaults(Connection &con, const QStringList &before, const QString &remarks);

// The sizes given on the command line, or the defaults.
std::vector<qint64> sizesFrom(const QStringList &arguments, std::vector<qint64> defaults);

} // namespace shop::bench
