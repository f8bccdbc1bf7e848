#include "editor/DocumentNumbering.h"

#include "common/core/Conversions.h"
#include "common/core/ModuleError.h"
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
    const QString length = QString::number(prefix.size());
    const QVariant highest = m_con.scalar(
        QStringLiteral("Select isnull(max(convert(int,right(whno,len(whno)-") + length
            + QStringLiteral("))),0) from LOsPurchaseReturnHeader where whshopid = ? and len(whno)>len(?) and "
                             " isnumeric(isnull(right(whno,len(whno)-")
            + length + QStringLiteral("),0)) =1 and substring(whno,1,len(?))=?"),
        {m_shopId, storedText(prefix), storedText(prefix), storedText(prefix)});
    return highest.isNull() ? 0 : toInt32(highest);
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
