#pragma once

#include "common/core/EntryMode.h"

#include "common/core/AllocationColumns.h"
#include "common/core/TextTable.h"
#include "common/core/TransactionId.h"
#include "editor/EntryLines.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace shop {

// What the editor window hands to the save: its header fields as typed, its item
// lines and its three hidden allocation tables.
struct PurchaseReturnEntry {
    EntryMode mode = EntryMode::New;
    TransactionId id;                   // the stored entry's id (edit mode)

    QString number;      // txtWriteNo; assigned on save for a new transaction
    QString dateText;    // txtProcessDate
    QString userName;    // txtUserName
    QString remarks;     // txtRemark
    QString receivedBy;  // txtreceived
    QString approvedBy;  // txtapproved
    bool confirmed = false; // Chkconfirmed
    std::optional<qint32> departmentId; // cbodepartment's item data, when one is selected
    std::optional<qint32> apartmentId;  // cboApartmentNo's item data, when one is selected

    QList<QStringList> lines; // lvwStock, each line line::ColumnCount cells
    TextTable locations{AllocationColumnCount}; // flxLocations
    TextTable expiry{AllocationColumnCount};    // flxexpiry
    TextTable serials{AllocationColumnCount};   // flxserial

    // The editor's token for its saves: the same for every Ok, so that a save whose
    // commit reply was lost is found and never stored a second time.
    QString commitToken;

    bool isNew() const { return mode == EntryMode::New; }
};

// A field's text as it is stored: an empty field stores empty text, never Null.
inline QString storedText(const QString &text) { return text.isNull() ? QStringLiteral("") : text; }

} // namespace shop
