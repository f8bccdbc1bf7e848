#pragma once

#include <QDate>

namespace shop {

// What the register's row shows of a stored entry, which decides whether it may still
// be changed.
struct RegisterListing {
    QDate date;
    bool cancelled = false;
    bool posted = false;
    bool confirmed = false;
    bool mayChangeBackDated = false; // the user's right "B"
};

} // namespace shop
