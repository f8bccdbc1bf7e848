// Makes a database of a busy suite for trying the module by hand or timing it:
//   generate_ledgers <database location> <rows per ledger> [returns] [seed]
// The database gets the schema, the demo data and the generated ledgers.

#include <rtnmod08/ModuleError.h>
#include "common/db/Schema.h"
#include "support/LedgerGenerator.h"
#include <rtnmod08/DemoData.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

using namespace shop;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: generate_ledgers <database location> <rows per ledger> [returns] [seed]\n";
        return 2;
    }
    bench::LedgerSize size;
    size.rowsPerLedger = args.at(2).toInt();
    size.returns = args.size() > 3 ? args.at(3).toInt() : 1000;
    size.seed = args.size() > 4 ? args.at(4).toUInt() : 1;
    try {
        QElapsedTimer timer;
        timer.start();
        const auto con = Connection::open(args.at(1));
        schema::upgrade(*con);
        demo::populate(*con, QDate::currentDate());
        bench::generateLedgers(*con, size, QDate::currentDate());
        QTextStream(stdout) << size.rowsPerLedger << " rows per ledger and " << size.returns << " returns in "
                            << timer.elapsed() << " ms\n";
    } catch (const ModuleError &e) {
        err << e.description() << '\n';
        return 1;
    }
    return 0;
}
