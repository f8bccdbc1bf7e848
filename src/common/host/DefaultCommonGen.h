#pragma once

#include <rtnmod08/HostComponents.h>

namespace shop {

// The library's own CommonModule.clsCommonGen: combo selection, the numeric key
// filter of quantity boxes and the editor's item list lines.
class DefaultCommonGen final : public clsCommonGen {
public:
    void SelectComboItemByValue(QComboBox *combo, const QVariant &value) override;
    void SelectComboItemByname(QComboBox *combo, const QString &text) override;
    void TextValidateNum(QLineEdit *box, int &keyAscii, int maxLength, int decimals) override;
    void fnInsertListView(QTreeWidget *list, int position, const QString &slNo, const QString &shipment,
                          const QString &itemCode, const QString &description, const QString &availableQty,
                          const QString &returnQty, const QString &shipmentId, const QString &itemId,
                          const QString &costPrice, const QString &unit) override;
    void fnDeleteListview(bool renumber, QTreeWidget *list, bool selectNext, int *index = nullptr,
                          int reserved = 0) override;
};

// Whether `candidate` is an acceptable content of a numeric box: digits with at most
// one decimal point, at most maxLength characters and at most `decimals` decimals.
bool isAcceptableNumberText(const QString &candidate, int maxLength, int decimals);

} // namespace shop
