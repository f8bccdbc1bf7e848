#pragma once

#include <QString>

namespace shop {

// What the module writes holds a shop's business (and a database file is all the
// access there is to it): files and folders it makes are its owner's alone.

// Makes the folder with any missing above it, each new one 0700; folders that are
// there already keep their mode. True when the folder exists afterwards.
bool makeOwnerOnlyFolder(const QString &path);

// Creates an empty file 0600 when nothing is there yet; a file that exists is left
// alone. True when the path is a file afterwards.
bool createOwnerOnlyFile(const QString &path);

} // namespace shop
