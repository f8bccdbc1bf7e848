#include "common/host/DefaultUserAuditing.h"

#include <rtnmod08/ModuleError.h>
#include "common/host/ModuleState.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>

namespace shop {

namespace {

constexpr qsizetype kShownLength = 60;
constexpr qsizetype kChangesLength = 2000;

QString shortened(const QString &text, qsizetype length)
{
    return text.size() <= length ? text : text.left(length - 3) + QStringLiteral("...");
}

// Controls that are parts of another control (a combo's edit box, a cell editor)
// are recorded through their owner.
bool isPartOfAnotherControl(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *p = widget->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p)
            || qobject_cast<const QAbstractItemView *>(p))
            return true;
    }
    return false;
}

QString listText(const QTreeWidget *list, int &lines)
{
    QStringList rows;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(list)); *it; ++it) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << (*it)->text(c);
        rows << cells.join(QLatin1Char('\t'));
    }
    lines = static_cast<int>(rows.size());
    return rows.join(QLatin1Char('\n'));
}

QString gridText(const QTableWidget *grid)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QTableWidgetItem *cell = grid->item(r, c);
            cells << (cell ? cell->text() : QString());
        }
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\n'));
}

// Value and short form of one control; false for widgets that take no input.
bool valueOf(const QWidget *w, QString &value, QString &shown)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
        value = shown = edit->text();
    } else if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
        value = combo->currentText() + QLatin1Char('\t') + QString::number(combo->currentIndex());
        shown = combo->currentText();
    } else if (const auto *check = qobject_cast<const QCheckBox *>(w)) {
        value = QString::number(check->checkState());
        shown = check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    } else if (const auto *option = qobject_cast<const QRadioButton *>(w)) {
        value = shown = option->isChecked() ? QStringLiteral("selected") : QStringLiteral("not selected");
    } else if (const auto *list = qobject_cast<const QTreeWidget *>(w)) {
        int lines = 0;
        value = listText(list, lines);
        shown = QStringLiteral("%1 lines").arg(lines);
    } else if (const auto *grid = qobject_cast<const QTableWidget *>(w)) {
        value = gridText(grid);
        shown = QStringLiteral("%1 rows").arg(grid->rowCount());
    } else if (const auto *text = qobject_cast<const QTextEdit *>(w)) {
        value = shown = text->toPlainText();
    } else if (const auto *plain = qobject_cast<const QPlainTextEdit *>(w)) {
        value = shown = plain->toPlainText();
    } else if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(w)) {
        value = shown = spin->text();
    } else {
        return false;
    }
    return true;
}

QString stampText(const QDateTime &stamp)
{
    return stamp.isValid() ? stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

FieldValues readFieldValues(const QWidget *window)
{
    FieldValues values;
    if (!window)
        return values;
    QHash<QString, int> seen;
    const auto children = window->findChildren<QWidget *>();
    for (const QWidget *w : children) {
        if (isPartOfAnotherControl(w, window))
            continue;
        FieldValue field;
        if (!valueOf(w, field.value, field.shown))
            continue;
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                        : w->objectName();
        const int n = seen[name]++;
        field.key = n == 0 ? name : QStringLiteral("%1#%2").arg(name).arg(n + 1);
        field.shown = shortened(field.shown, kShownLength);
        values.push_back(std::move(field));
    }
    return values;
}

QString describeChanges(const FieldValues &before, const FieldValues &after)
{
    QStringList changes;
    for (const FieldValue &now : after) {
        const auto was = std::find_if(before.begin(), before.end(), [&](const FieldValue &f) { return f.key == now.key; });
        if (was == before.end())
            changes << QStringLiteral("%1: \"%2\"").arg(now.key, now.shown);
        else if (was->value != now.value)
            changes << QStringLiteral("%1: \"%2\" -> \"%3\"").arg(now.key, was->shown, now.shown);
    }
    return shortened(changes.join(QStringLiteral("; ")), kChangesLength);
}

void DefaultUserAuditing::OpenObject(ConnectionPtr &connection, int companyId, int shopId, int userId,
                                     int interfaceId, const QDateTime &now)
{
    m_connection = connection;
    m_companyId = companyId;
    m_shopId = shopId;
    m_userId = userId;
    m_interfaceId = interfaceId;
    LoggedTime = now;
}

DefaultUserAuditing::Recorded *DefaultUserAuditing::recordOf(const QWidget *window)
{
    std::erase_if(m_recorded, [](const Recorded &r) { return r.window.isNull(); });
    const auto it = std::find_if(m_recorded.begin(), m_recorded.end(),
                                 [&](const Recorded &r) { return r.window.data() == window; });
    return it == m_recorded.end() ? nullptr : &*it;
}

void DefaultUserAuditing::SaveInToTag(QWidget *window)
{
    if (!window)
        return;
    FieldValues values = readFieldValues(window);
    if (Recorded *known = recordOf(window)) {
        known->values = std::move(values);
        return;
    }
    m_recorded.push_back({window, std::move(values)});
}

bool DefaultUserAuditing::DataChanged(QWidget *window)
{
    if (!window)
        return false;
    const Recorded *known = recordOf(window);
    // Nothing recorded: asking once too often beats losing the user's work.
    if (!known)
        return true;
    const FieldValues now = readFieldValues(window);
    return !std::equal(now.begin(), now.end(), known->values.begin(), known->values.end(),
                       [](const FieldValue &a, const FieldValue &b) { return a.key == b.key && a.value == b.value; });
}

void DefaultUserAuditing::SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool /*flag*/, const QString &mode,
                                               QWidget *window)
{
    QString changes;
    QString windowName;
    if (window) {
        windowName = window->objectName();
        const Recorded *known = recordOf(window);
        changes = describeChanges(known ? known->values : FieldValues{}, readFieldValues(window));
    }
    writeRow(transId, transNo, mode, windowName, changes);
}

void DefaultUserAuditing::SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool /*flag*/, const QString &mode)
{
    writeRow(transId, transNo, mode, QString(), QString());
}

void DefaultUserAuditing::writeRow(qint32 transId, const QString &transNo, const QString &mode,
                                   const QString &windowName, const QString &changes)
{
    const ConnectionPtr con = m_connection ? m_connection : moduleState().gadocon;
    if (!con)
        throw ModuleError(ModuleError::ConnectionClosed, QStringLiteral("PosUserAuditing"),
                          QStringLiteral("Operation is not allowed when the object is closed."));
    con->execute(QStringLiteral("insert into shop_user_audit (logged_at, started_at, companyid, shopid, "
                                "userid, interfaceid, transid, transno, mode, window_name, changes) "
                                "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {stampText(QDateTime::currentDateTime()), textOrNull(stampText(LoggedTime)), m_companyId,
                  m_shopId, m_userId, m_interfaceId, transId, transNo, mode, textOrNull(windowName),
                  textOrNull(changes)});
}

} // namespace shop
