#pragma once

namespace shop {

// Registers the library's own implementation of every host component under its
// name. The registry calls it once, before the first component is created or a
// host registers its own.
void registerDefaultComponents();

} // namespace shop
