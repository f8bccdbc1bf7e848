#include "support/ScriptedUi.h"

#include "common/ui/FocusChain.h"
#include "common/ui/QtUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace shop::test {

ScriptedUi::~ScriptedUi()
{
    // Left over: a question the test expected that was never asked, or the hourglass.
    if (!m_answers.empty())
        ADD_FAILURE() << m_answers.size() << " scripted answer(s) were never asked for";
    if (m_busyDepth != 0)
        ADD_FAILURE() << "the hourglass was left on";
}

QStringList ScriptedUi::messageTexts() const
{
    QStringList texts;
    for (const ShownMessage &m : m_messages)
        texts << m.text;
    return texts;
}

void ScriptedUi::clearRecords()
{
    m_messages.clear();
    m_questions.clear();
    m_shownWindows.clear();
}

MsgAnswer ScriptedUi::ask(const QString &text, MsgButtons buttons, MsgAnswer defaultAnswer, MsgIcon, const QString &)
{
    noteWait(text);
    m_questions.push_back({text, buttons, defaultAnswer});
    if (m_answers.empty()) {
        ADD_FAILURE() << "Unscripted question: \"" << text.toStdString() << "\" (no answer queued; the default is taken)";
        return defaultAnswer;
    }
    const MsgAnswer next = m_answers.front();
    m_answers.pop_front();
    return next;
}

int ScriptedUi::showModal(QDialog &window, QWidget *owner)
{
    Q_UNUSED(owner);
    const QString name = window.objectName();
    noteWait(name);
    m_shownWindows << name;
    const WindowHandler handler = m_handlers.value(name);
    // As exec() does: a fresh result, and the window on screen while it is driven.
    window.setResult(0);
    window.show();
    if (!handler) {
        ADD_FAILURE() << "No handler for the window \"" << name.toStdString() << "\"; it was closed unanswered";
        window.reject();
        return window.result();
    }
    handler(window);
    if (window.isVisible()) {
        ADD_FAILURE() << "The handler left the window \"" << name.toStdString() << "\" open";
        window.hide();
    }
    return window.result();
}

void ScriptedUi::focusNext(QWidget *from, bool backwards)
{
    if (QWidget *to = nextTabStop(from, backwards))
        to->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void ScriptedUi::sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers)
{
    if (!target)
        return;
    if (key == Qt::Key_Backtab || key == Qt::Key_Tab) {
        focusNext(target, key == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier));
        return;
    }
    const QString text = keyText(key, modifiers);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

void ScriptedUi::processEvents() { QCoreApplication::processEvents(); }

ScriptedUiScope::ScriptedUiScope()
{
    auto ui = std::make_unique<ScriptedUi>();
    m_ui = ui.get();
    Ui::install(std::move(ui));
}

ScriptedUiScope::~ScriptedUiScope() { Ui::install(nullptr); }

} // namespace shop::test
