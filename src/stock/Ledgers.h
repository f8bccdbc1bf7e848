#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace shop {

// The three issue ledgers the module shares with the rest of the suite, each beside the
// arrival ledger whose stock it takes. A row belongs to the module by its interface id,
// the shop and the transaction id.
enum class IssueLedger { Location, Expiry, Serial };
inline constexpr IssueLedger IssueLedgers[] = {IssueLedger::Location, IssueLedger::Expiry, IssueLedger::Serial};

struct LedgerOwner {
    qint32 interfaceId = 0;
    qint32 shopId = 0;
    qint32 transId = 0;
};

// How a ledger column is filled from its allocation cell (and shown again from it).
enum class Cell {
    Id,         // a whole number (leading-number conversion)
    OptionalId, // Null when the cell is empty, else as Id
    Quantity,   // an exact quantity; text that is not a number counts as 0
    Text,
    Date,       // shown as the editor shows dates, stored as a date
    Zero,       // written 0 whatever the table holds; never shown
};

struct LedgerColumn {
    QString name;
    int allocation; // the column of the editor's allocation table; -1 for none
    Cell cell;
};

// One ledger pair. Both ledgers name their columns with their own prefix followed by
// the same words (ShopId, ItemId, ItemQty, Cancel, InterfaceId and the place's keys).
struct Ledger {
    QString issueTable;
    QString arrivalTable;
    QString issuePrefix;   // "lid"
    QString arrivalPrefix; // "lad"
    QString transColumn;   // the issue row's transaction id
    QString cancelTable;   // the issue table as the cancellation has always spelt it
    QStringList placeKeys; // where the stock lies, without the prefix; the first names the place
    // The issue row's columns that hold an allocation row, in the order they are written.
    std::vector<LedgerColumn> columns;

    QString issue(const QString &word) const { return issuePrefix + word; }
    QString arrival(const QString &word) const { return arrivalPrefix + word; }
};

const Ledger &ledger(IssueLedger kind);

} // namespace shop
