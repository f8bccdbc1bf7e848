#pragma once

namespace shop {

// Puts the module's own windows behind the register's New and Edit. A window a host
// or a test has already put in place is kept.
void installModuleWindows();

} // namespace shop
