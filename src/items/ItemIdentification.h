#pragma once

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

// How a typed or scanned code named its item.
struct IdentifiedItem {
    enum class By { PackingBarcode, Shortcut, ItemCode };
    qint32 itemId = 0;
    By by = By::PackingBarcode;
};

// What the clerk typed into the code box, tried as an active packing barcode of an
// active item, then (numeric text only) as the shop's shortcut number formed by its
// first four characters, then (unless codes repeat) as an item code. The code is a
// bound value, never statement text.
std::optional<IdentifiedItem> identifyItem(Connection &con, const QString &code, qint32 shopId, ItemTypeRule rule,
                                           bool codesMayRepeat);
// The item of an active packing barcode (any item type); 0 when there is none.
qint32 itemOfPackingBarcode(Connection &con, const QString &barcode);

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
