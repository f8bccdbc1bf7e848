#pragma once

#include "printing/PrintData.h"
#include "printing/PrintSettings.h"

#include <QByteArray>
#include <QString>

namespace shop {

// The fixed-width text printout of one purchase return: a pure function of what it
// shows and the shop's settings. Every line ends with CR LF; a page ends with a line
// holding a form feed. Padding is spaces and never cuts; only the item code and the
// description are cut to their columns.
//
// Two cases the settings can force:
// - a total as wide as its column or wider is printed whole, with one space before it,
//   and moves the rest of its line right (the line is then longer than the page);
// - a centred title that would start before column 1 (a page narrower than 26)
//   starts in column 1 and is printed whole.
QByteArray layoutPrintout(const PrintDocument &document, const PrintSettings &settings);

// The separator line for a page width and the spaces between its dashes.
QString separatorLine(int pageWidth, double spaceInLine);

} // namespace shop
