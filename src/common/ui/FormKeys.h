#pragma once

#include <QString>

class QWidget;

namespace shop {

// Enter (key code 13) in a control moves the focus on as Tab would. The key itself
// is left for the control.
void EnterToTab(int keyCode, QWidget *control);

// False, after telling the user and putting the focus on the control, when the
// control holds nothing but blanks.
bool fnCheckEmpty(QWidget *control, const QString &message, const QString &title);

} // namespace shop
