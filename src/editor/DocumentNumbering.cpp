#include "editor/DocumentNumbering.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "editor/PurchaseReturnEntry.h"

namespace shop {

DocumentNumbering::DocumentNumbering(Connection &con, qint32 interfaceId, qint32 shopId)
    : m_con(con), m_interfaceId(interfaceId), m_shopId(shopId)
{
}

QString DocumentNumbering::prefix() const
{
    const Recordset rs = m_con.query(
        QStringLiteral("SELECT Prefix FROM aPrefix WHERE InterfaceID = ? AND FinancialId = (Select FinancialId from "
                       "aFinancialYear where CurFinancialYear = 1)and shopid=?"),
        {m_interfaceId, m_shopId});
    return storedText(rs.isEmpty() ? QString() : rs.value(0, 0).toString());
}

qint32 DocumentNumbering::highestNumber(const QString &prefix) const
{
    // The running numbers are kept per prefix by the schema: one index entry, however
    // many returns the shop has stored.
    const QVariant highest = m_con.scalar(highestNumberStatement(), {m_shopId, storedText(prefix)});
    return highest.isNull() ? 0 : toInt32(highest);
}

QString DocumentNumbering::highestNumberStatement()
{
    return QStringLiteral("select runno from shop_return_numbers where shopid = ? and prefix = ? "
                          "order by runno desc limit 1");
}

QString DocumentNumbering::nextNumber() const
{
    const QString p = prefix();
    // 32-bit, so that a shop keeps numbering past its 32767th return.
    const qint32 next = toInt32(Decimal::fromInt(highestNumber(p)) + Decimal::fromInt(1));
    return p + QString::number(next);
}

void lockShopNumbers(Connection &con, qint32 shopId)
{
    if (con.backend() == Backend::Postgres)
        con.query(QStringLiteral("select shopid from ashops where shopid = ? for update"), {shopId});
}

bool isDuplicateKey(const ModuleError &error)
{
    // PostgreSQL reports the SQLSTATE of a unique violation; SQLite its constraint code.
    constexpr long long kUniqueViolation = 23505;
    constexpr long long kSqliteConstraint = 19;
    constexpr long long kSqliteConstraintUnique = 2067;
    if (error.number() == kUniqueViolation)
        return true;
    return (error.number() == kSqliteConstraint || error.number() == kSqliteConstraintUnique)
        && error.description().contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive);
}

} // namespace shop
