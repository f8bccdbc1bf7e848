#pragma once

#include "common/core/EntryMode.h"
#include "common/core/TransactionId.h"
#include "editor/EntryDraft.h"
#include "editor/RegisterListing.h"

#include <functional>
#include <optional>

namespace shop {

// What the register asks of the editor: a new return, or the stored return of its
// current row together with what that row shows of it; and whom to tell the id of a
// return once it is saved. A draft restored after a crash is laid over what loads.
struct EntryRequest {
    EntryMode mode = EntryMode::New;
    TransactionId id;        // the stored return; not stored for a new one
    RegisterListing listing; // a stored return's row
    std::function<void(TransactionId id)> saved;
    std::optional<EntryDraft> draft;
};

} // namespace shop
