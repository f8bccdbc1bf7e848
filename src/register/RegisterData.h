#pragma once

#include "common/core/TransactionId.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/HostComponents.h>

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace shop::reg {

// The interface id of the shop purchase return: marks its ledger rows and selects
// its prefix and the users' rights.
constexpr qint32 PurchaseReturnInterface = 1901;
inline const QString PurchaseReturnType = QStringLiteral("P");
inline const QString ListTable = QStringLiteral("LOsPurchaseReturnHeader");

// First date the register lists: the process date less the shop's back days, or the
// shop's last close date when that is later.
QDate fnPopulateDate(clsCommonDB &db, qint32 shopId, const QDate &processDate);

// The register's list statement. It is kept as text because saving and deleting
// refresh single rows by extending it; only the system's own numbers and dates go in.
QString listQuery(const QDate &fromDate, qint32 shopId, const QString &transType);

// The cells of one return as the register's list statement shows it, the id bound;
// nothing when the list does not hold it.
std::optional<QStringList> listedRow(Connection &con, const QString &listQuery, TransactionId id);

// The user's rights text for an interface; nothing when the user has no rights row
// (then every command stays available).
std::optional<QString> functionRights(Connection &con, qint32 userId, qint32 interfaceId);

// True when the rights text (compared trimmed and upper-cased) holds the letter;
// "ADMIN" holds none.
bool fnUserRights(const QString &letter, const QString &rights);

// Whether the command of a letter (N, E, D, P) is open to a user with these rights:
// every command without a rights row, otherwise the letters the text holds.
bool mayUseCommand(const std::optional<QString> &rights, const QString &letter);

// Package settings the register reads at load.
struct PackageSettings {
    QString stockView;
    bool integerQuantity = false;
    bool alias = false;
    QString aliasText;
    qint16 companyLogin = 0;
};
PackageSettings readPackageSettings(clsCommonDB &db);

} // namespace shop::reg
