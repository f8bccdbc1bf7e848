#pragma once

#include "common/core/Decimal.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace shop {

class Connection;

// A shop deals either only in items of type 'B' or in every item but those; each
// lookup of an item keeps to the shop's rule.
enum class ItemTypeRule { OnlyTypeB, AllButTypeB };

ItemTypeRule itemTypeRule(Connection &con, qint32 shopId);
// The rule as the lookup dialog's statement spells it.
QString fetchItemTypeFilter(ItemTypeRule rule);
// Whether item codes may repeat; then a code never identifies an item.
bool itemCodesMayRepeat(Connection &con);

// What the item's record says of how it is tracked, and its code.
struct ItemFacts {
    bool hasExpiry = false;        // kept by expiry batch
    bool hasSerialNo = false;      // kept by serial number
    bool serialsMayRepeat = false; // one serial number may stand for several units
    QString code;
};

// An item as a scan finds it: how its code named it, its facts, and what the shop
// holds of it, all read in the one statement that identifies it.
struct IdentifiedItem {
    enum class By { PackingBarcode, Shortcut, ItemCode, Id };
    qint32 itemId = 0;
    By by = By::Id;
    ItemFacts facts;
    // The item's description while the shop holds stock of it; none otherwise.
    std::optional<QString> description;
    // The shop's stock of it from the shop's stock view (0 when it holds none).
    Decimal stock;
};

// How the shop names and counts its items, read once while a window is open.
struct ItemLookup {
    qint32 shopId = 0;
    ItemTypeRule rule = ItemTypeRule::AllButTypeB;
    bool codesMayRepeat = false;
    QString stockView; // the shop's stock view, of the two the suite has
};

// What the clerk typed into the code box, tried as an active packing barcode of an
// active item, then (numeric text only) as the shop's shortcut number formed by its
// first four characters, then (unless codes repeat) as an item code. The code is a
// bound value, never statement text.
std::optional<IdentifiedItem> identifyItem(Connection &con, const QString &code, const ItemLookup &lookup);
// The item of an id (a fetched one, a line's), the same way; none when it is unknown.
std::optional<IdentifiedItem> itemById(Connection &con, qint32 itemId, const ItemLookup &lookup);

// The lookup dialog on the shop's stock: its statement (for the host's fetch
// component, which takes text), fields, captions and widths.
struct ItemFetch {
    QString statement;
    QStringList fields;
    QStringList captions;
    std::vector<qint16> widths;
    int defaultField = 2;
};
ItemFetch itemFetch(Connection &con, qint32 shopId, ItemTypeRule rule);

} // namespace shop
