#pragma once

#include "common/db/Connection.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

namespace shop::bench {

// A fresh database for one size of one benchmark: a file in a temporary folder, or a
// schema of its own on the server named by SHOP_BENCH_PG (else SHOP_TEST_PG), dropped
// again afterwards.
class BenchDatabase {
public:
    explicit BenchDatabase(Backend backend);
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase &) = delete;
    BenchDatabase &operator=(const BenchDatabase &) = delete;

    ConnectionPtr con;
    const QString &location() const { return m_location; }

private:
    QTemporaryDir m_dir;
    QString m_location;
    QString m_schema;
    ConnectionPtr m_admin;
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

// The sizes given on the command line, or the defaults.
std::vector<qint64> sizesFrom(const QStringList &arguments, std::vector<qint64> defaults);

} // namespace shop::bench
