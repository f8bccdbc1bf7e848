#pragma once

#include <QByteArray>
#include <QString>

namespace shop {

// The printout as a printer takes it: one byte per character, in a single-byte code page
// (a name iconv knows: WINDOWS-1252, IBM437, ISO-8859-15, ...), so that the columns the
// layout counted in characters are the columns on paper. A character the code page lacks
// is printed as "?" in its column. An unknown or multi-byte code page is an error.
QByteArray printerBytes(const QByteArray &utf8Document, const QString &codePage);

} // namespace shop
