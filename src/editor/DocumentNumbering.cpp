#include "editor/DocumentNumbering.h"

#include "common/core/Conversions.h"
#include "common/core/ModuleError.h"
#include "editor/PurchaseReturnEntry.h"

#include <QRegularExpression>
#include <limits>
#include <optional>

namespace shop {

namespace {

// The whole part of a numeric rest (" 12", "+5.", "7.25"); past the 32-bit range it
// stays large enough for the conversion to report the overflow.
qint64 wholePart(const QString &rest)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?)0*(\\d{0,12})"));
    const auto m = number.match(rest);
    const qint64 digits = m.captured(2).isEmpty() ? 0 : m.captured(2).toLongLong();
    const bool tooLong = m.capturedEnd(2) < rest.size() && rest.at(m.capturedEnd(2)).isDigit();
    const qint64 value = tooLong ? std::numeric_limits<qint64>::max() / 2 : digits;
    return m.captured(1) == QLatin1String("-") ? -value : value;
}

} // namespace

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
    // The rests that the server's numbering statement counts (same shop, starting with
    // the prefix, longer than it, numeric rest); their highest whole part is taken here
    // rather than by convert(int, ...) in the statement, which stops the save on a rest
    // such as "5." that reads as a number but not as a whole one.
    const Recordset rests = m_con.query(highestNumberStatement(prefix.size()),
                                        {m_shopId, storedText(prefix), storedText(prefix), storedText(prefix)});
    std::optional<qint64> highest;
    for (const QVariantList &row : rests.rows()) {
        const qint64 whole = wholePart(row.value(0).toString());
        if (!highest || *highest < whole)
            highest = whole;
    }
    return highest ? toInt32(QVariant(*highest)) : 0;
}

QString DocumentNumbering::highestNumberStatement(qsizetype prefixLength)
{
    const QString length = QString::number(prefixLength);
    return QStringLiteral("Select right(whno,len(whno)-") + length
        + QStringLiteral(") from LOsPurchaseReturnHeader where whshopid = ? and len(whno)>len(?) and "
                         " isnumeric(isnull(right(whno,len(whno)-")
        + length + QStringLiteral("),0)) =1 and substring(whno,1,len(?))=?");
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
