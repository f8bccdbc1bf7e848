#pragma once

#include "common/ui/Ui.h"

namespace shop {

// The services on screen: Qt message boxes, dialogs run with exec(), the
// application's override cursor and key events posted to the controls. The hourglass
// shows only while the module works: whenever a window or a message box waits for the
// clerk it gives way to the normal pointer and comes back once the wait is over.
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

private:
    // Takes the hourglass off for as long as a window or message waits for input.
    class InputWait;

    int m_busyShown = 0; // hourglasses of setBusy on the application's pointer now
};

// The text a keystroke types ("\t" for Tab, "\r" for Enter, the character itself
// for printable keys), as key events carry it.
QString keyText(int key, Qt::KeyboardModifiers modifiers);

} // namespace shop
