#include "common/host/DefaultCommonGen.h"

#include <memory>

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTreeWidget>
#include <algorithm>

namespace shop {

namespace {

constexpr int kListColumns = 10;

// Item data is compared as numbers when both sides are numbers (an id stored as
// 5 matches "5"), else as text.
bool sameValue(const QVariant &a, const QVariant &b)
{
    bool okA = false;
    bool okB = false;
    const double x = a.toDouble(&okA);
    const double y = b.toDouble(&okB);
    if (okA && okB)
        return x == y;
    return a.toString() == b.toString();
}

void renumberLines(QTreeWidget *list)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setText(0, QString::number(i + 1));
}

} // namespace

bool isAcceptableNumberText(const QString &candidate, int maxLength, int decimals)
{
    static const QRegularExpression shape(QStringLiteral("^\\d*(\\.\\d*)?$"));
    const auto m = shape.match(candidate);
    if (!m.hasMatch())
        return false;
    if (maxLength > 0 && candidate.size() > maxLength)
        return false;
    const QString fraction = m.captured(1);
    if (fraction.isEmpty())
        return true;
    return decimals > 0 && fraction.size() - 1 <= decimals;
}

void DefaultCommonGen::SelectComboItemByValue(QComboBox *combo, const QVariant &value)
{
    if (!combo)
        return;
    for (int i = 0; i < combo->count(); ++i) {
        if (sameValue(combo->itemData(i), value)) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    // Leaving an earlier choice selected would pass it off as the stored value.
    combo->setCurrentIndex(-1);
}

void DefaultCommonGen::SelectComboItemByname(QComboBox *combo, const QString &text)
{
    if (!combo)
        return;
    int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        index = combo->findText(text, Qt::MatchFixedString);
    combo->setCurrentIndex(index);
}

void DefaultCommonGen::TextValidateNum(QLineEdit *box, int &keyAscii, int maxLength, int decimals)
{
    if (keyAscii < 32) // backspace, Enter, Tab and the clipboard keys pass untouched
        return;
    QString candidate = box ? box->text() : QString();
    const QChar typed(keyAscii);
    if (box && box->hasSelectedText())
        candidate.replace(box->selectionStart(), box->selectedText().size(), typed);
    else
        candidate.insert(box ? box->cursorPosition() : candidate.size(), typed);
    if (!isAcceptableNumberText(candidate, maxLength, decimals))
        keyAscii = 0;
}

void DefaultCommonGen::fnInsertListView(QTreeWidget *list, int position, const QString &slNo,
                                        const QString &shipment, const QString &itemCode,
                                        const QString &description, const QString &availableQty,
                                        const QString &returnQty, const QString &shipmentId, const QString &itemId,
                                        const QString &costPrice, const QString &unit)
{
    if (!list)
        return;
    if (list->columnCount() < kListColumns)
        list->setColumnCount(kListColumns);
    const QStringList texts{slNo,     shipment,   itemCode, description, availableQty,
                            returnQty, shipmentId, itemId,   costPrice,   unit};
    auto line = std::make_unique<QTreeWidgetItem>();
    for (int column = 0; column < texts.size(); ++column) {
        line->setText(column, texts.at(column));
        // A line takes its column's stored alignment, like the lines that were there before.
        line->setTextAlignment(column, Qt::Alignment(list->headerItem()->textAlignment(column)));
    }
    QTreeWidgetItem *added = line.get();
    const bool inside = position >= 1 && position <= list->topLevelItemCount();
    // The list owns the line from here; a line put in between the others moves them down.
    list->insertTopLevelItem(inside ? position - 1 : list->topLevelItemCount(), line.release());
    if (inside)
        renumberLines(list);
    // The new line is the one F10, Edit and the item window's navigation act on.
    list->setCurrentItem(added);
}

void DefaultCommonGen::fnDeleteListview(bool renumber, QTreeWidget *list, bool selectNext, int *index,
                                        int /*reserved*/)
{
    if (!list)
        return;
    int row = -1;
    if (index && *index >= 1 && *index <= list->topLevelItemCount())
        row = *index - 1;
    else if (QTreeWidgetItem *current = list->currentItem())
        row = list->indexOfTopLevelItem(current);
    if (row < 0)
        return;
    delete list->takeTopLevelItem(row);
    if (renumber)
        renumberLines(list);
    int selected = 0;
    if (selectNext && list->topLevelItemCount() > 0) {
        const int next = std::min(row, list->topLevelItemCount() - 1);
        list->setCurrentItem(list->topLevelItem(next));
        selected = next + 1;
    }
    if (index)
        *index = selected;
}

} // namespace shop
