#include "common/ui/QtUi.h"

#include "common/ui/FocusChain.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>

namespace shop {

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton boxButton(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    case MsgAnswer::Cancel:
        return QMessageBox::Cancel;
    case MsgAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons boxButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}

// Messages break lines with a carriage return as well as a line feed; the box shows both as a new line.
QString shownText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString keyText(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Escape:
        return QString(QChar(27));
    default:
        break;
    }
    if (key < 0x20 || key > 0x7e)
        return QString();
    const QChar c(key);
    // Key codes of letters are the capitals; without Shift the letter is typed small.
    return (modifiers & Qt::ShiftModifier) ? QString(c) : QString(c.toLower());
}

class QtUi::InputWait {
public:
    explicit InputWait(QtUi &ui) : m_ui(ui), m_suspended(ui.m_busyShown)
    {
        for (int i = 0; i < m_suspended; ++i)
            QApplication::restoreOverrideCursor();
        m_ui.m_busyShown = 0;
    }
    ~InputWait()
    {
        for (int i = 0; i < m_suspended; ++i)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_ui.m_busyShown += m_suspended;
    }
    InputWait(const InputWait &) = delete;
    InputWait &operator=(const InputWait &) = delete;

private:
    QtUi &m_ui;
    const int m_suspended;
};

void QtUi::message(const QString &text, MsgIcon icon, const QString &title)
{
    const InputWait wait(*this);
    QMessageBox box(boxIcon(icon), title, shownText(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

MsgAnswer QtUi::ask(const QString &text, MsgButtons buttons, MsgAnswer defaultAnswer, MsgIcon icon,
                    const QString &title)
{
    const InputWait wait(*this);
    QMessageBox box(boxIcon(icon), title, shownText(text), boxButtons(buttons), QApplication::activeWindow());
    box.setDefaultButton(boxButton(defaultAnswer));
    return answerOf(box.exec());
}

int QtUi::showModal(QDialog &window, QWidget *owner)
{
    // The owner becomes the parent only while the window is up, so that it is
    // centred on and kept above its owner without the owner taking it over.
    const bool adopt = owner && !window.parentWidget();
    if (adopt)
        window.setParent(owner, window.windowFlags() | Qt::Dialog);
    const InputWait wait(*this);
    const int result = window.exec();
    if (adopt)
        window.setParent(nullptr, window.windowFlags());
    return result;
}

void QtUi::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyShown;
    } else if (m_busyShown > 0) {
        // Only the hourglasses set here are taken off; others' pointers stay.
        QApplication::restoreOverrideCursor();
        --m_busyShown;
    }
}

void QtUi::focusNext(QWidget *from, bool backwards)
{
    if (QWidget *to = nextTabStop(from, backwards))
        to->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void QtUi::sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers)
{
    if (!target)
        return;
    const QString text = keyText(key, modifiers);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
}

void QtUi::processEvents() { QCoreApplication::processEvents(); }

} // namespace shop
