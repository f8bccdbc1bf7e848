#pragma once

#include <QString>
#include <Qt>
#include <memory>

class QDialog;
class QWidget;

namespace shop {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// Everything a window does that needs the person at the keyboard goes through here:
// message boxes, questions, modal child windows, the hourglass pointer and simulated
// keystrokes. The application uses the Qt implementation; tests install a scripted
// one that answers from a queue and drives child windows without an event loop.
class Ui {
public:
    virtual ~Ui() = default;

    virtual void message(const QString &text, MsgIcon icon, const QString &title) = 0;
    virtual MsgAnswer ask(const QString &text, MsgButtons buttons, MsgAnswer defaultAnswer, MsgIcon icon,
                          const QString &title) = 0;
    // Shows a window modally over its owner (none for the register) and returns
    // when it has been closed; the result is the dialog's result code.
    virtual int showModal(QDialog &window, QWidget *owner) = 0;
    virtual void setBusy(bool busy) = 0;
    // Moves the focus on from a control as Tab (or Shift+Tab) would.
    virtual void focusNext(QWidget *from, bool backwards = false) = 0;
    // Sends a keystroke to a control as if it had been typed.
    virtual void sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) = 0;
    // Lets pending window events run (after a modal child window closed).
    virtual void processEvents() = 0;

    // The services in use; the Qt implementation until another is installed.
    static Ui &current();
    // Installs a replacement (tests); passing nullptr restores the Qt implementation.
    static void install(std::unique_ptr<Ui> ui);
};

// Hourglass for the lifetime of a scope, restored however the scope is left.
class BusyPointer {
public:
    BusyPointer() { Ui::current().setBusy(true); }
    ~BusyPointer() { Ui::current().setBusy(false); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace shop
