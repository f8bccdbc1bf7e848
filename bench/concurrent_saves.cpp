// A terminal that saves purchase returns for one shop, as the tests that run several
// at once, or kill one half-way, need it.
//   concurrent_saves <database location> <shop id> <count>
//       saves <count> one-line returns and prints the numbers it stored, one a line, as
//       each is committed. Told that the server was lost or cannot be reached, it does
//       what a clerk does: waits a moment and presses Ok again on the same return, for
//       two minutes in all at most.
//   concurrent_saves <database location> <shop id> --churn
//       until killed: saves a return whose lines take stock from locations, an
//       expiry batch and a serial number, and cancels it again, so that the stock
//       comes back for the next; prints "saved <id>" and "cancelled <id>" as each is
//       committed.
//   concurrent_saves <database location> <shop id> --take <item> <location> <batch> <expiry> <serial>
//       saves one return of one unit of the item from that location, batch (expiry
//       date yyyy-MM-dd) and serial number; prints "saved <number>", or "refused: "
//       and the message when the stock is no longer there.
// A failure is printed as one line starting with "failed:" and ends the program with
// exit code 1.

#include "common/core/ModuleError.h"
#include "common/db/Connection.h"
#include "common/db/Schema.h"
#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnCancel.h"
#include "editor/PurchaseReturnSave.h"
#include "support/TerminalLogin.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTextStream>

using namespace shop;

namespace {

ItemLine itemLine(const char *itemId, const char *code, const char *name, const QString &quantity)
{
    return {QStringLiteral("1"), QStringLiteral("1"), QString::fromLatin1(code), QString::fromLatin1(name),
            QStringLiteral("75.000"), quantity, QStringLiteral("1"), QString::fromLatin1(itemId),
            QStringLiteral("6.5"), QStringLiteral("PCS")};
}

PurchaseReturnEntry newReturn(const QString &remarks)
{
    PurchaseReturnEntry e;
    e.mode = QStringLiteral("N");
    e.dateText = QStringLiteral("06/12/2026");
    e.userName = QStringLiteral("clerk");
    e.remarks = remarks;
    return e;
}

PurchaseReturnEntry oneLineReturn(int serial)
{
    PurchaseReturnEntry e = newReturn(QStringLiteral("Terminal save %1").arg(serial));
    e.lines.append(itemLine("5", "RICE-5", "Long grain rice 5 kg", QStringLiteral("0.001")));
    return e;
}

// Rice from the front shelf, milk of batch B1001 from the cold room, one television by
// its serial number: every ledger gets rows.
PurchaseReturnEntry allocatedReturn(int serial)
{
    PurchaseReturnEntry e = newReturn(QStringLiteral("Churn %1").arg(serial));
    e.lines.append(itemLine("5", "RICE-5", "Long grain rice 5 kg", QStringLiteral("1")));
    e.lines.append(itemLine("1", "MLK-1L", "Fresh milk 1 L", QStringLiteral("1")));
    e.lines.append(itemLine("3", "TV-32", "LED television 32 in", QStringLiteral("1")));
    e.locations.addRow({QStringLiteral("1"), QStringLiteral("Front shelf"), QStringLiteral("1"), QStringLiteral("1"),
                        QString(), QStringLiteral("0"), QStringLiteral("5")});
    e.locations.addRow({QStringLiteral("2"), QStringLiteral("Cold room"), QStringLiteral("1"), QStringLiteral("3"),
                        QString(), QStringLiteral("0"), QStringLiteral("1")});
    e.locations.addRow({QStringLiteral("3"), QStringLiteral("Front shelf"), QStringLiteral("1"), QStringLiteral("1"),
                        QString(), QStringLiteral("0"), QStringLiteral("3")});
    e.expiry.addRow({QStringLiteral("1"), QStringLiteral("B1001"), QStringLiteral("2026-12-11"), QStringLiteral("1"),
                     QString(), QStringLiteral("0"), QStringLiteral("1")});
    e.serials.addRow({QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("SN-TV-0002"), QStringLiteral("1"),
                      QString(), QStringLiteral("0")});
    return e;
}

[[noreturn]] void churn(QTextStream &out)
{
    // A terminal killed between a save and its cancellation left that return standing:
    // the clerk of the next start cancels it first, so that its stock comes back.
    const Recordset left = moduleState().gadocon->query(
        QStringLiteral("select WhID, WhNo from LOsPurchaseReturnHeader where whShopID = ? and whcancelled = 0 "
                       "and WhRemarks like 'Churn %'"),
        {moduleState().gintShopID});
    for (int r = 0; r < left.recordCount(); ++r) {
        PurchaseReturnCancel().cancel(TransactionId(left.value(r, 0).toInt()), left.value(r, 1).toString(), QStringLiteral("left"));
        out << "cancelled " << left.value(r, 0).toInt() << Qt::endl;
    }
    PurchaseReturnSave save;
    for (int i = 1;; ++i) {
        const SaveOutcome saved = save.save(allocatedReturn(i));
        if (!saved.saved)
            throw ModuleError(ModuleError::DatabaseFailure, QStringLiteral("churn"), saved.refusal);
        out << "saved " << saved.transId.value() << Qt::endl;
        PurchaseReturnCancel().cancel(saved.transId, saved.transNo, QStringLiteral("churn"));
        out << "cancelled " << saved.transId.value() << Qt::endl;
    }
}

// One unit of an item from one location, batch and serial number.
PurchaseReturnEntry lastUnitReturn(const QStringList &where)
{
    const QString &item = where.at(0);
    PurchaseReturnEntry e = newReturn(QStringLiteral("Last unit"));
    e.lines.append({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("ITEM"), QStringLiteral("Item"),
                    QStringLiteral("1.000"), QStringLiteral("1"), QStringLiteral("1"), item, QStringLiteral("2.5"),
                    QStringLiteral("PCS")});
    e.locations.addRow({QStringLiteral("1"), QString(), QStringLiteral("1"), where.at(1), QString(), QStringLiteral("0"), item});
    e.expiry.addRow({QStringLiteral("1"), where.at(2), where.at(3), QStringLiteral("1"), QString(), QStringLiteral("0"), item});
    e.serials.addRow({QStringLiteral("1"), item, where.at(4), QStringLiteral("1"), QString(), QStringLiteral("0")});
    return e;
}

// The save, pressed again while the server is away, until `patience` is used up.
SaveOutcome saveAsAClerk(PurchaseReturnSave &save, const PurchaseReturnEntry &entry, std::chrono::milliseconds &patience)
{
    for (;;) {
        QElapsedTimer waited;
        waited.start();
        try {
            return save.save(entry);
        } catch (const ModuleError &e) {
            const bool serverAway = e.description() == Connection::ServerLostMessage
                || e.description() == Connection::ServerUnreachableMessage;
            if (!serverAway || patience.count() <= 0)
                throw;
            QTextStream(stderr) << "the clerk was told: " << e.description() << Qt::endl;
            QThread::msleep(500);
            patience -= std::chrono::milliseconds(waited.elapsed());
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4 && !(args.size() == 9 && args.at(3) == QLatin1String("--take"))) {
        err << "usage: concurrent_saves <database location> <shop id> <count>|--churn|--take ...\n";
        return 2;
    }
    // The module state outlives main; its connection must close while the application still exists.
    struct StateReset {
        ~StateReset() { moduleState() = ModuleState{}; }
    } reset;
    try {
        ModuleState &s = moduleState();
        bench::logInTerminal(s, args.at(1), args.at(2).toInt());
        s.gstrMode = QStringLiteral("N");
        if (args.at(3) == QLatin1String("--churn"))
            churn(out);
        if (args.at(3) == QLatin1String("--take")) {
            const SaveOutcome outcome = PurchaseReturnSave().save(lastUnitReturn(args.mid(4)));
            out << (outcome.saved ? QStringLiteral("saved ") + outcome.transNo : QStringLiteral("refused: ") + outcome.refusal)
                << Qt::endl;
            return 0;
        }
        const int count = args.at(3).toInt();
        PurchaseReturnSave save;
        std::chrono::milliseconds patience(120000);
        for (int i = 1; i <= count; ++i) {
            const PurchaseReturnEntry entry = oneLineReturn(i);
            out << saveAsAClerk(save, entry, patience).transNo << Qt::endl;
        }
    } catch (const ModuleError &e) {
        out.flush();
        err << "failed: " << e.number() << ' ' << e.source() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}
