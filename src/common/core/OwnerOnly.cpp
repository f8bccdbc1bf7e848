#include "common/core/OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace shop {

namespace {
constexpr QFile::Permissions OwnerFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions OwnerFolder = OwnerFile | QFile::ExeOwner;
} // namespace

bool makeOwnerOnlyFolder(const QString &path)
{
    QStringList missing;
    QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(folder)) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString &each : missing)
        if (!QDir().mkdir(each, OwnerFolder))
            return false;
    return QFileInfo(path).isDir();
}

bool createOwnerOnlyFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return QFileInfo(path).isFile();
    QFile file(path);
    // Created with the mode, so that it is never readable by others, not even for a moment.
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerFile);
}

} // namespace shop
