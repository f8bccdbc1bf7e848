#include "common/routines/SettingsFile.h"

#include "common/host/ErrorReporting.h"
#include "common/ui/Ui.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <optional>

namespace shop {

namespace {

const QString kModule = QStringLiteral("basGoodsPurchase");
const QString kRoutine = QStringLiteral("FileCode ");

// The value of `key` on this line, if the line is that key's.
std::optional<QString> valueOnLine(const QString &line, const QString &key)
{
    const qsizetype assign = line.indexOf(QLatin1String(":="));
    // A line without ":=" (a blank line, a note) or with nothing before it holds no key.
    if (assign < 1)
        return std::nullopt;
    const QString lineKey = line.left(assign - 1);
    if (lineKey.compare(key, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return line.mid(assign + 2);
}

// The file as the clerk knows it (ShopSetting.txt), without the folder.
QString fileName(const QString &filePath) { return QFileInfo(filePath).fileName(); }

void report(long long number, const QString &description, bool showToUser)
{
    TrackSessionError(kModule, kRoutine, number, QStringLiteral("rtnmod08"), description, showToUser);
}

} // namespace

QString FileCode(const QString &key, const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (!QFileInfo::exists(filePath)) {
            Ui::current().message(QLatin1Char(' ') + fileName(filePath) + QStringLiteral(" file not found"), MsgIcon::Critical,
                                  sessionMessageTitle());
            report(53, QStringLiteral("File not found"), false);
        } else {
            report(75, QStringLiteral("Path/File access error: ") + file.errorString(), true);
        }
        return QString();
    }
    QTextStream in(&file);
    QString line;
    while (in.readLineInto(&line)) {
        if (const auto value = valueOnLine(line, key))
            return *value;
    }
    if (file.error() != QFileDevice::NoError) {
        report(57, QStringLiteral("Device I/O error: ") + file.errorString(), true);
        return QString();
    }
    file.close();
    Ui::current().message(key + QStringLiteral("  invalid parameter in ") + fileName(filePath) + QStringLiteral(" file"),
                          MsgIcon::Critical,
                          sessionMessageTitle());
    return QString();
}

std::optional<QString> OptionalFileCode(const QString &key, const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    QString line;
    while (in.readLineInto(&line))
        if (auto value = valueOnLine(line, key))
            return value;
    return std::nullopt;
}

} // namespace shop
