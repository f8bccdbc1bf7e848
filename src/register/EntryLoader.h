#pragma once

#include <QString>

namespace shop {

class FlexGrid;
class frmStockDetails;

// The register's current row as Edit reads it.
struct RegisterRow {
    QString id;           // column 0
    QString dateText;     // column 2
    bool cancelled = false; // column 4
    bool posted = false;    // column 5
    bool confirmed = false; // column 6

    static RegisterRow current(const FlexGrid &grid);
};

// Fills a loaded editor with the stored entry of the register's row: header, item
// lines and allocation tables. Saving is then refused for a cancelled, posted or
// confirmed entry, and for one dated before the process date unless the user may
// change back-dated entries; the user is told why where it is not plain to see.
// What the editor then holds counts as unchanged. Errors of the header and the lines
// are raised; an allocation table that cannot be read is reported and left as far
// as it got.
void loadStoredEntry(frmStockDetails &editor, const RegisterRow &row, bool mayChangeBackDated);

} // namespace shop
