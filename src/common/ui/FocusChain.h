#pragma once

class QWidget;

namespace shop {

// The control Tab (or Shift+Tab) would move to from `from`: the next control of the
// same window in tab order that takes the focus by Tab, is enabled and not hidden.
// Works on windows that are not active, so that tests can follow the focus.
// Null when the window has no other such control.
QWidget *nextTabStop(QWidget *from, bool backwards);

} // namespace shop
