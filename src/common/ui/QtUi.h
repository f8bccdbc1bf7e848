#pragma once

#include "common/ui/Ui.h"

namespace shop {

// The services on screen: Qt message boxes, dialogs run with exec(), the
// application's override cursor and key events posted to the controls.
class QtUi final : public Ui {
public:
    void message(const QString &text, MsgIcon icon, const QString &title) override;
    MsgAnswer ask(const QString &text, MsgButtons buttons, MsgAnswer defaultAnswer, MsgIcon icon,
                  const QString &title) override;
    int showModal(QDialog &window, QWidget *owner) override;
    void setBusy(bool busy) override;
    void focusNext(QWidget *from, bool backwards) override;
    void sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers) override;
    void processEvents() override;
};

// The text a keystroke types ("\t" for Tab, "\r" for Enter, the character itself
// for printable keys), as key events carry it.
QString keyText(int key, Qt::KeyboardModifiers modifiers);

} // namespace shop
