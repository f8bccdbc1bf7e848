#pragma once

#include <QString>

class QTreeWidget;

namespace shop {

// Applies the stored column layout of a list (alistviewheader/alistviewdetails) for
// a window and module: widths in twips (0 hides a column) and alignment
// (0 left, 1 right, 2 centre). The list is found by its objectName.
void SetListViewColumns(const QString &transactionName, QTreeWidget *list, const QString &moduleName);

// The alignment a stored code stands for.
Qt::Alignment listColumnAlignment(int code);

} // namespace shop
