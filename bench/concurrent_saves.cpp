// Saves a number of new purchase returns for one shop, as one terminal would, so
// that several of these running at once show whether numbering stays unique.
//   concurrent_saves <database location> <shop id> <count>
// Prints the numbers it stored, one a line; a failure is printed as one line
// starting with "failed:" and ends the program with exit code 1.

#include "common/db/Connection.h"
#include "common/db/Schema.h"
#include "common/core/ModuleError.h"
#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnSave.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace shop;

namespace {

PurchaseReturnEntry oneLineReturn(int serial)
{
    PurchaseReturnEntry e;
    e.mode = QStringLiteral("N");
    e.dateText = QStringLiteral("06/12/2026");
    e.userName = QStringLiteral("clerk");
    e.remarks = QStringLiteral("Terminal save %1").arg(serial);
    e.lines.append(QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("RICE-5"),
                               QStringLiteral("Long grain rice 5 kg"), QStringLiteral("75.000"), QStringLiteral("0.001"),
                               QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("6.5"), QStringLiteral("BAG")});
    return e;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "usage: concurrent_saves <database location> <shop id> <count>\n";
        return 2;
    }
    // The module state outlives main; its connection must close while the application still exists.
    struct StateReset {
        ~StateReset() { moduleState() = ModuleState{}; }
    } reset;
    try {
        ModuleState &s = moduleState();
        s.gadocon = Connection::open(args.at(1));
        schema::attach(*s.gadocon);
        s.gintShopID = args.at(2).toInt();
        s.gintUserID = 1;
        s.gintCompanyID = 1;
        s.gintInterfaceID = 1901;
        s.gstrTransType = QStringLiteral("P");
        s.gstrMode = QStringLiteral("N");
        const Recordset rs = s.gadocon->query(QStringLiteral("select i.InventoryID, s.DepartmentID from aPackageSettings i, "
                                                             "ashops s where i.companyid = s.CompanyID and s.ShopID = ?"),
                                              {s.gintShopID});
        if (!rs.isEmpty()) {
            s.gintInventoryID = rs.value(0, 0).toInt();
            s.gintShopDepartmentID = rs.value(0, 1).toInt();
        }
        const int count = args.at(3).toInt();
        PurchaseReturnSave save;
        for (int i = 1; i <= count; ++i)
            out << save.save(oneLineReturn(i)).transNo << '\n';
    } catch (const ModuleError &e) {
        out.flush();
        err << "failed: " << e.number() << ' ' << e.source() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}
