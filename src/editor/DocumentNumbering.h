#pragma once

#include <rtnmod08/Connection.h>

#include <QString>

namespace shop {

class ModuleError;

// Document numbers of new purchase returns: the prefix of the interface, the current
// financial year and the shop, followed by the next running number stored in the
// shop under that prefix (PR17 follows PR16). Runs on the save's connection inside
// its open transaction, after lockShopNumbers.
class DocumentNumbering {
public:
    DocumentNumbering(Connection &con, qint32 interfaceId, qint32 shopId);

    // The prefix; empty when the shop has none for the current financial year.
    QString prefix() const;
    // The highest running number stored under the prefix: the whole part of the
    // highest rest that reads as a number ("PR5." is 5); 0 when there is none.
    // Cancelled transactions count too, so that a number is never handed out twice.
    qint32 highestNumber(const QString &prefix) const;
    // The statement that reads it; it takes the shop and the prefix.
    static QString highestNumberStatement();
    // The prefix followed by the next running number.
    QString nextNumber() const;

private:
    Connection &m_con;
    qint32 m_interfaceId;
    qint32 m_shopId;
};

// Makes the saves of one shop wait for each other until the open transaction ends,
// so that two terminals never read the same highest number. On SQLite the
// transaction's write lock already does this.
void lockShopNumbers(Connection &con, qint32 shopId);

// True when the error is a unique-key conflict (a number or id taken by a save that
// committed first): such a save is worth running again.
bool isDuplicateKey(const ModuleError &error);

} // namespace shop
