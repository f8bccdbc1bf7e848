#include "common/ui/FormKeys.h"

#include "common/ui/Ui.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace shop {

namespace {

QString textOf(const QWidget *control)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(control))
        return line->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    if (const auto *rich = qobject_cast<const QTextEdit *>(control))
        return rich->toPlainText();
    return control ? control->property("text").toString() : QString();
}

} // namespace

void EnterToTab(int keyCode, QWidget *control)
{
    constexpr int enter = 13;
    if (keyCode == enter)
        Ui::current().focusNext(control);
}

bool fnCheckEmpty(QWidget *control, const QString &message, const QString &title)
{
    if (!textOf(control).trimmed().isEmpty())
        return true;
    Ui::current().message(message, MsgIcon::Information, title);
    if (control)
        control->setFocus(Qt::OtherFocusReason);
    return false;
}

} // namespace shop
