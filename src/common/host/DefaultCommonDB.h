#pragma once

#include <rtnmod08/HostComponents.h>

#include "common/db/SqlText.h"

namespace shop {

// The library's data-access component: single values, next numbers and combo lists
// read from strTableName over adocon. strTableName and conditions are SQL text made
// by the module (values in them through sqlQuote/sqlNumber).
class DefaultCommonDB final : public clsCommonDB {
public:
    QVariant fnReturnField(const QString &expression) override;
    QVariant fnReturnField(const QString &expression, const QString &condition) override;
    qint32 fnGetNextMaxNo(const QString &column) override;
    void populateComboorList(QComboBox *combo, const QString &idColumn, const QString &textColumn,
                             const QString &condition) override;

private:
    Connection &connection() const;
    BoundSql fromClause(const QString &condition) const;
    QVariant scalar(const QString &select, const QString &condition) const;
};

} // namespace shop
