#pragma once

#include "common/ui/Ui.h"

#include <QHash>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace shop::test {

struct ShownMessage {
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title;
};

struct AskedQuestion {
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
};

// The user at the keyboard, scripted: messages and questions are recorded,
// questions are answered from a queue, and modal windows are handed to a
// callback of the test instead of running an event loop.
class ScriptedUi final : public Ui {
public:
    // Drives a window shown with showModal and closes it (accept, reject, or a
    // button that does); showModal then returns the window's result.
    using WindowHandler = std::function<void(QDialog &)>;

    ~ScriptedUi() override;

    // --- script
    void answer(MsgAnswer next) { m_answers.push_back(next); }
    void onWindow(const QString &objectName, WindowHandler handler) { m_handlers.insert(objectName, std::move(handler)); }

    // --- what happened
    const std::vector<ShownMessage> &messages() const { return m_messages; }
    const std::vector<AskedQuestion> &questions() const { return m_questions; }
    const QStringList &shownWindows() const { return m_shownWindows; }
    QStringList messageTexts() const;
    // Messages, questions and windows that waited for the user under the hourglass.
    const QStringList &waitedUnderHourglass() const { return m_underHourglass; }
    int timesBusy() const { return m_timesBusy; }
    bool busy() const { return m_busyDepth > 0; }
    void clearRecords();

    // --- Ui
    void message(const QString &text, MsgIcon icon, const QString &title) override
    {
        noteWait(text);
        m_messages.push_back({text, icon, title});
    }
    MsgAnswer ask(const QString &text, MsgButtons buttons, MsgAnswer defaultAnswer, MsgIcon icon,
                  const QString &title) override;
    int showModal(QDialog &window, QWidget *owner) override;
    void setBusy(bool busy) override
    {
        m_busyDepth += busy ? 1 : -1;
        m_timesBusy += busy ? 1 : 0;
    }
    void focusNext(QWidget *from, bool backwards) override;
    // Tab and Shift+Tab move the focus as focusNext does; other keys are delivered to
    // the control at once.
    void sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers) override;
    void processEvents() override;

private:
    void noteWait(const QString &what)
    {
        if (busy())
            m_underHourglass << what;
    }

    std::deque<MsgAnswer> m_answers;
    QHash<QString, WindowHandler> m_handlers;
    std::vector<ShownMessage> m_messages;
    std::vector<AskedQuestion> m_questions;
    QStringList m_shownWindows;
    int m_busyDepth = 0; // hourglass on while above 0
    int m_timesBusy = 0;
    QStringList m_underHourglass;
};

// Installs a fresh ScriptedUi for the lifetime of a test and puts the Qt services
// back afterwards.
class ScriptedUiScope {
public:
    ScriptedUiScope();
    ~ScriptedUiScope();
    ScriptedUiScope(const ScriptedUiScope &) = delete;
    ScriptedUiScope &operator=(const ScriptedUiScope &) = delete;

    ScriptedUi &ui() { return *m_ui; }
    ScriptedUi *operator->() { return m_ui; }

private:
    ScriptedUi *m_ui; // owned by Ui while installed
};

} // namespace shop::test
