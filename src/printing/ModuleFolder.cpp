#include "printing/ModuleFolder.h"

#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace shop {

namespace {

QString &chosenFolder()
{
    static QString folder;
    return folder;
}

QString loadedFrom()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void *>(&loadedFrom), &info) == 0 || !info.dli_fname)
        return QDir::currentPath();
    // The shipped files keep a folder of their own beside the library, as the package
    // puts them (/usr/lib/<arch>/rtnmod08/), away from every other library's files.
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteDir().filePath(QStringLiteral("rtnmod08"));
}

} // namespace

QString moduleFolder()
{
    if (!chosenFolder().isEmpty())
        return chosenFolder();
    static const QString own = loadedFrom();
    return own;
}

void setModuleFolder(const QString &folder) { chosenFolder() = folder; }

QString fileInFolder(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

QString settingsFilePath() { return fileInFolder(moduleFolder(), QStringLiteral("ShopSetting.txt")); }

QString reportFilePath()
{
    const QString reports = fileInFolder(moduleFolder(), QStringLiteral("reports"));
    return fileInFolder(reports, QStringLiteral("rptShopPurchaseReturn.xml"));
}

} // namespace shop
