#pragma once

#include "common/core/EntryMode.h"
#include "common/core/TransactionId.h"
#include "editor/RegisterListing.h"

#include <functional>

namespace shop {

// What the register asks of the editor: a new return, or the stored return of its
// current row together with what that row shows of it; and whom to tell the id of a
// return once it is saved.
struct EntryRequest {
    EntryMode mode = EntryMode::New;
    TransactionId id;        // the stored return; not stored for a new one
    RegisterListing listing; // a stored return's row
    std::function<void(TransactionId id)> saved;
};

} // namespace shop
