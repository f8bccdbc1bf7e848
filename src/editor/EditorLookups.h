#pragma once

#include <QString>
#include <optional>

namespace shop {

class clsCommonDB;

// What the editor's header reads when the window loads, through the window's
// data-access component.

// The shop's apartment code (first letter of its spare text column, upper-cased):
// "L" shops record the apartment a transfer goes to.
QString shopApartmentCode(clsCommonDB &db, qint32 shopId);
// The word the package uses instead of the shop's name in captions, when it uses one.
std::optional<QString> packageAlias(clsCommonDB &db);
// The user's name as the shop knows it.
QString shopUserName(clsCommonDB &db, qint32 userId, qint32 shopId);
// The user's name in the first shop that knows the user.
QString anyShopUserName(clsCommonDB &db, qint32 userId);

} // namespace shop
