#pragma once

#include <rtnmod08/Connection.h>
#include "support/TestDatabase.h"

#include <QTextStream>
#include <functional>
#include <vector>

namespace shop::bench {

// A fresh database for one size of one benchmark: the tests' scratch database, on the
// server named by SHOP_BENCH_PG (else SHOP_TEST_PG).
class BenchDatabase : public test::TestDatabase {
public:
    explicit BenchDatabase(Backend backend);
};

// SQLite always; PostgreSQL when a server is named.
std::vector<Backend> benchBackends();
QString backendName(Backend backend);

// The median of `runs` timings of `work`, in milliseconds; `prepare` runs untimed
// before each.
double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {});

// The process's peak resident memory so far, in MiB.
double peakRssMiB();

// Prints one line of the table every benchmark prints:
//   <benchmark> <backend> <size> module <ms> raw <ms> ratio <x>
void report(QTextStream &out, const QString &benchmark, Backend backend, qint64 size, double moduleMs, double rawMs,
            const QString &extra = {});

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
