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
//   concurrent_saves <database location> <shop id> --serve
//       a terminal driven line by line from standard input, for races a test times:
//       "save", "edit <id> <rice quantity>", "cancel <id> <number>"; answers each with
//       one line: "saved <id> <number>", "edited <id>", "cancelled <id>", "refused <message>"
//       or "error <message>" (what the clerk would have been shown).
//   concurrent_saves <database location> <shop id> --soak <seconds> <seed>
//       saves, edits and cancels rice-and-milk returns of the shop in random turn for
//       that long, then prints "ops <n> refused <n> errors <n> deadlocks <n> retries <n>";
//       each error also goes to standard error.
// A failure is printed as one line starting with "failed:" and ends the program with
// exit code 1.

#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Connection.h>
#include "common/db/Schema.h"
#include "common/host/ModuleCommonDB.h"
#include "common/host/ModuleState.h"
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnCancel.h"
#include "editor/PurchaseReturnSave.h"
#include "support/TerminalLogin.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>
#include <QTextStream>

#include <iostream>
#include <string>

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
    e.mode = EntryMode::New;
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

// Rice from the front shelf and milk of batch B1001 from the cold room, neither of them
// scarce: the soak's and the race's return, new or as an edit of a stored one.
PurchaseReturnEntry soakReturn(const QString &riceQty, TransactionId id = {})
{
    PurchaseReturnEntry e = newReturn(QStringLiteral("Soak"));
    if (id.value() != 0) {
        e.mode = EntryMode::Stored;
        e.id = id;
    }
    e.lines.append(itemLine("5", "RICE-5", "Long grain rice 5 kg", riceQty));
    e.lines.append(itemLine("1", "MLK-1L", "Fresh milk 1 L", QStringLiteral("1")));
    e.locations.addRow({QStringLiteral("1"), QStringLiteral("Front shelf"), riceQty, QStringLiteral("1"), QString(),
                        QStringLiteral("0"), QStringLiteral("5")});
    e.locations.addRow({QStringLiteral("2"), QStringLiteral("Cold room"), QStringLiteral("1"), QStringLiteral("3"),
                        QString(), QStringLiteral("0"), QStringLiteral("1")});
    e.expiry.addRow({QStringLiteral("1"), QStringLiteral("B1001"), QStringLiteral("2026-12-11"), QStringLiteral("1"),
                     QString(), QStringLiteral("0"), QStringLiteral("1")});
    return e;
}

// One command of a terminal, answered as the clerk would see it.
QString runCommand(const QStringList &words)
{
    const QString &verb = words.value(0);
    try {
        if (verb == QLatin1String("save") || verb == QLatin1String("edit")) {
            const bool edit = verb == QLatin1String("edit");
            const TransactionId id(edit ? words.value(1).toInt() : 0);
            const SaveOutcome out = PurchaseReturnSave(moduleConnection(), moduleSession()).save(soakReturn(edit ? words.value(2) : QStringLiteral("1"), id));
            if (!out.saved)
                return QStringLiteral("refused ") + out.refusal;
            return edit ? QStringLiteral("edited %1").arg(id.value())
                        : QStringLiteral("saved %1 %2").arg(out.transId.value()).arg(out.transNo);
        }
        if (verb == QLatin1String("cancel")) {
            PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(TransactionId(words.value(1).toInt()), words.value(2), QStringLiteral("race"));
            return QStringLiteral("cancelled ") + words.value(1);
        }
        return QStringLiteral("error unknown command ") + verb;
    } catch (const ModuleError &e) {
        // The cancellation tells its refusals as errors, as the dialog reports them.
        if (e.description() == PurchaseReturnSave::AlreadyDeletedMessage || e.description() == PurchaseReturnSave::PostedMessage)
            return QStringLiteral("refused ") + e.description();
        return QStringLiteral("error ") + e.description();
    }
}

void serve(QTextStream &out)
{
    std::string line;
    while (std::getline(std::cin, line))
        out << runCommand(QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts)) << Qt::endl;
}

bool isDeadlockText(const QString &text)
{
    return text == ModuleWrite::ConflictMessage || text.contains(QLatin1String("deadlock"), Qt::CaseInsensitive)
        || text.contains(QLatin1String("serializ"), Qt::CaseInsensitive);
}

void soak(QTextStream &out, QTextStream &err, int seconds, quint32 seed)
{
    QRandomGenerator random(seed);
    const QDeadlineTimer deadline(seconds * 1000LL);
    int ops = 0, refused = 0, errors = 0, deadlocks = 0;
    const auto liveReturns = [] {
        return moduleState().gadocon->query(QStringLiteral("select WhID, WhNo from LOsPurchaseReturnHeader where whShopID = ? "
                                                           "and whcancelled = 0 and WhRemarks = 'Soak'"),
                                            {moduleState().gintShopID});
    };
    while (!deadline.hasExpired()) {
        QStringList command{QStringLiteral("save")};
        if (const int pick = random.bounded(3); pick > 0) {
            const Recordset live = liveReturns();
            if (!live.isEmpty()) {
                const int r = random.bounded(live.recordCount());
                command = pick == 1 ? QStringList{QStringLiteral("edit"), live.value(r, 0).toString(),
                                                  QString::number(1 + random.bounded(3))}
                                    : QStringList{QStringLiteral("cancel"), live.value(r, 0).toString(), live.value(r, 1).toString()};
            }
        }
        const QString said = runCommand(command);
        ++ops;
        if (said.startsWith(QLatin1String("refused")))
            ++refused;
        if (said.startsWith(QLatin1String("error"))) {
            ++errors;
            deadlocks += isDeadlockText(said) ? 1 : 0;
            err << command.join(QLatin1Char(' ')) << ": " << said << Qt::endl;
        }
    }
    out << "ops " << ops << " refused " << refused << " errors " << errors << " deadlocks " << deadlocks << " retries "
        << ModuleWrite::retriesTaken() << Qt::endl;
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
        PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(TransactionId(left.value(r, 0).toInt()), left.value(r, 1).toString(), QStringLiteral("left"));
        out << "cancelled " << left.value(r, 0).toInt() << Qt::endl;
    }
    PurchaseReturnSave save(moduleConnection(), moduleSession());
    for (int i = 1;; ++i) {
        const SaveOutcome saved = save.save(allocatedReturn(i));
        if (!saved.saved)
            throw ModuleError(ModuleError::DatabaseFailure, QStringLiteral("churn"), saved.refusal);
        out << "saved " << saved.transId.value() << Qt::endl;
        PurchaseReturnCancel(moduleConnection(), moduleSession()).cancel(saved.transId, saved.transNo, QStringLiteral("churn"));
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
    if (args.size() != 4 && !(args.size() == 9 && args.at(3) == QLatin1String("--take"))
        && !(args.size() == 6 && args.at(3) == QLatin1String("--soak"))) {
        err << "usage: concurrent_saves <database location> <shop id> <count>|--churn|--serve|--take ...|--soak <s> <seed>\n";
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
        if (args.at(3) == QLatin1String("--serve")) {
            serve(out);
            return 0;
        }
        if (args.at(3) == QLatin1String("--soak")) {
            soak(out, err, args.at(4).toInt(), args.at(5).toUInt());
            return 0;
        }
        if (args.at(3) == QLatin1String("--take")) {
            const SaveOutcome outcome = PurchaseReturnSave(moduleConnection(), moduleSession()).save(lastUnitReturn(args.mid(4)));
            out << (outcome.saved ? QStringLiteral("saved ") + outcome.transNo : QStringLiteral("refused: ") + outcome.refusal)
                << Qt::endl;
            return 0;
        }
        const int count = args.at(3).toInt();
        PurchaseReturnSave save(moduleConnection(), moduleSession());
        std::chrono::milliseconds patience(120000);
        for (int i = 1; i <= count; ++i) {
            // One token for every Ok of this return: a commit whose reply was lost is
            // found by it, not stored again.
            PurchaseReturnEntry entry = oneLineReturn(i);
            entry.commitToken = newWriteToken();
            out << saveAsAClerk(save, entry, patience).transNo << Qt::endl;
        }
    } catch (const ModuleError &e) {
        out.flush();
        err << "failed: " << e.number() << ' ' << e.source() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}
