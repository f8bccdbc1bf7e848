#pragma once

#include "common/TextTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace shop {

// Columns of an item line of the editor's list, every cell held as text.
namespace line {
enum Column {
    SlNo = 0,
    Shipment = 1,
    ItemCode = 2,
    Description = 3,
    AvailableQty = 4,
    ReturnQty = 5,
    ShipmentId = 6,
    ItemId = 7,
    CostPrice = 8,
    Unit = 9,
    ColumnCount = 10
};
}

// Columns of the three allocation tables (row 0 is the header row).
namespace locationcol {
enum Column { Row = 0, LocationName = 1, Quantity = 2, LocationId = 3, PackingTypeId = 4, PackingQty = 5, ItemId = 6 };
}
namespace expirycol {
enum Column { Row = 0, BatchNo = 1, ExpiryDate = 2, Quantity = 3, PackingTypeId = 4, PackingQty = 5, ItemId = 6 };
}
namespace serialcol {
enum Column { Row = 0, ItemId = 1, SerialNo = 2, Quantity = 3, PackingTypeId = 4, PackingQty = 5 };
}

// What the editor window hands to the save: its header fields as typed, its item
// lines and its three hidden allocation tables.
struct PurchaseReturnEntry {
    QString mode = QStringLiteral("N"); // "N" never saved, "E" stored transaction
    qint32 transId = 0;                 // the window's transaction id (edit mode)
    QString registerRowId;              // column 0 of the register's current row (edit mode)

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
    TextTable locations{7};   // flxLocations
    TextTable expiry{7};      // flxexpiry
    TextTable serials{7};     // flxserial

    bool isNew() const { return mode.trimmed().compare(QLatin1String("E"), Qt::CaseInsensitive) != 0; }
};

// A field's text as it is stored: an empty field stores empty text, never Null.
inline QString storedText(const QString &text) { return text.isNull() ? QStringLiteral("") : text; }

} // namespace shop
