#pragma once

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

namespace shop::test {

// What clerks put into text fields: names with apostrophes, text that reads as a
// statement, a long paste and letters outside ASCII.
struct Input {
    const char *name;
    QString text;
};

inline const QList<Input> &inputs()
{
    static const QList<Input> all{
        {"apostrophes", QStringLiteral("O'Brien's 'best'")},
        {"statement", QStringLiteral("'; drop table aItem; --")},
        {"long paste", QStringLiteral("Ab'é中 x").repeated(1250)}, // 10,000 characters
        {"long number", QStringLiteral("9").repeated(10000)},
        {"letters", QStringLiteral("  é ß 中文 Ærø  ")},
    };
    return all;
}

enum class Way { Typed, Pasted };

// Puts the text into the field as the clerk would: key by key, or through the
// clipboard with Ctrl+V (the long ones are only ever pasted).
inline void enterText(QLineEdit *field, const QString &text, Way way)
{
    field->setFocus();
    field->selectAll();
    if (way == Way::Typed) {
        // Letters beyond ASCII come as keys whose text is the letter, as a keyboard layout sends them.
        for (const QChar ch : text)
            if (ch.unicode() < 128)
                QTest::keyClick(field, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        return;
    }
    QGuiApplication::clipboard()->setText(text);
    // A real keyboard's Ctrl+V carries the control character as its text.
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
}

// Runs `enter` for each input each way the clerk puts it in (the long ones are only ever
// pasted), with the two named for failure messages.
inline void eachInput(const std::function<void(const Input &, Way, const QString &)> &enter)
{
    for (const Input &input : inputs())
        for (Way way : {Way::Typed, Way::Pasted})
            if (way == Way::Pasted || input.text.size() <= 100)
                enter(input, way, QString("%1, %2").arg(input.name, way == Way::Typed ? "typed" : "pasted"));
}

// The fields of a window a clerk can type into, by name: a window's test checks it covers them all.
inline QStringList textFields(const QWidget &window)
{
    QStringList names;
    for (const QLineEdit *e : window.findChildren<QLineEdit *>())
        if (!e->isReadOnly() && !qobject_cast<const QComboBox *>(e->parentWidget()))
            names << e->objectName();
    for (const QComboBox *c : window.findChildren<QComboBox *>())
        if (c->isEditable())
            names << c->objectName();
    names.sort();
    return names;
}

// What a field with a key filter keeps of typed text, cut to its maximum length.
inline QString kept(const QString &text, Way way, bool refusesTypedApostrophes, int maxLength)
{
    QString out = text;
    if (way == Way::Typed && refusesTypedApostrophes)
        out.remove(QLatin1Char('\''));
    return out.left(maxLength);
}

} // namespace shop::test
