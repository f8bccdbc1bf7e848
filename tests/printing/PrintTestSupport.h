#pragma once

#include "printing/ModuleFolder.h"
#include "support/ModuleStateScope.h"
#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace shop::test {

// The settings file the module ships, with some keys changed (an empty value removes the key).
inline QByteArray shippedSettings(const QMap<QString, QString> &changes = {})
{
    QFile file(QStringLiteral(SHOP_RESOURCES "/ShopSetting.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QRegularExpression line("^" + QRegularExpression::escape(it.key()) + " :=.*$",
                                      QRegularExpression::CaseInsensitiveOption);
        for (QString &l : lines)
            if (line.match(l).hasMatch())
                l = it.value().isNull() ? QString() : it.key() + " :=" + it.value();
    }
    return lines.join('\n').toUtf8();
}

// A module folder of the test's own, holding a settings file (under the name given)
// and the shipped report; the module's folder goes back afterwards.
class ModuleFolderScope {
public:
    explicit ModuleFolderScope(const QByteArray &settings = shippedSettings(), const QString &name = "ShopSetting.txt")
    {
        writeSettings(settings, name);
        QDir().mkpath(dir.filePath("reports"));
        QFile::copy(QStringLiteral(SHOP_RESOURCES "/reports/rptShopPurchaseReturn.xml"),
                    dir.filePath("reports/rptShopPurchaseReturn.xml"));
        setModuleFolder(dir.path());
    }
    ~ModuleFolderScope() { setModuleFolder(QString()); }
    void writeSettings(const QByteArray &settings, const QString &name = "ShopSetting.txt")
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(settings);
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

// A demo database with a user of shop 1 logged in.
class PrintTest : public DemoTest {
protected:
    PrintTest() { session.login(); }
    Connection &con() { return *db.con; }

    ModuleStateScope session{db.con};
};

} // namespace shop::test
