#pragma once

#include <QString>

namespace shop {

// The module's own folder beside the code it was loaded from (`rtnmod08/` in the
// folder of the library that holds this code), where the shop keeps its print settings
// and its reports. A host or a test
// may point the module at another folder; an empty text goes back to the library's own.
QString moduleFolder();
void setModuleFolder(const QString &folder);

// The file of that name in the folder, found whatever the case of its letters (the
// exact spelling first); the name as given when there is none.
QString fileInFolder(const QString &folder, const QString &name);

// The shop's print settings file, ShopSetting.txt, beside the module.
QString settingsFilePath();
// The report of "Windows Print": reports/rptShopPurchaseReturn.xml beside the module.
QString reportFilePath();

} // namespace shop
