#pragma once

#include "common/core/TransactionId.h"
#include "editor/RegisterListing.h"

namespace shop {

class RegisterGrid;

// The register's current row as Edit and Delete read it: the entry's id, parsed here
// once from the grid's text, and what the row shows of the entry.
struct RegisterRow {
    TransactionId id;
    RegisterListing listing;

    // mayChangeBackDated is the user's right "B".
    static RegisterRow current(const RegisterGrid &grid, bool mayChangeBackDated);
};

} // namespace shop
