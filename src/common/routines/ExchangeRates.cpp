#include "common/routines/ExchangeRates.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Recordset.h>

#include <QLocale>
#include <QVariantList>

namespace shop {

namespace {

struct Statement {
    QString sql;
    QVariantList values;
};

[[noreturn]] void unknownPartyType(const QString &partyType)
{
    throw ModuleError(5, QStringLiteral("rtnmod08"),
                      QStringLiteral("Invalid procedure call or argument: unknown party type \"%1\"").arg(partyType));
}

// Vendors, customers and accounts carry their currency the same way.
Statement partyRateStatement(const QString &table, const QString &idColumn, qint32 partyId, qint32 companyId)
{
    return {QStringLiteral("select a.currencyid CurID,SellingRate from ") + table + QStringLiteral(" a, ExchangeRateDetail b ")
                + QStringLiteral("Where a.CompanyID = b.CompanyID And a.currencyid = b.CurrencyID ") + QStringLiteral("and a.")
                + idColumn + QStringLiteral("=?") + QStringLiteral(" and a.companyid=?"),
            {partyId, companyId}};
}

Statement rateStatement(const QString &type, qint32 partyId, qint32 companyId)
{
    if (type == QLatin1String("V"))
        return partyRateStatement(QStringLiteral("avendormaster"), QStringLiteral("vendorID"), partyId, companyId);
    if (type == QLatin1String("C"))
        return partyRateStatement(QStringLiteral("acustomermaster"), QStringLiteral("customerID"), partyId, companyId);
    if (type == QLatin1String("A"))
        return partyRateStatement(QStringLiteral("aaccountmaster"), QStringLiteral("accountID"), partyId, companyId);
    if (type == QLatin1String("D"))
        return {QStringLiteral("select depcurrencyid CurID,SellingRate from aDepartmentMaster a, ExchangeRateDetail b ")
                    + QStringLiteral("Where a.CompanyID = b.CompanyID And a.depcurrencyid = b.CurrencyID ")
                    + QStringLiteral("and a.DepartmentID=?") + QStringLiteral(" and a.companyid=?"),
                {partyId, companyId}};
    if (type == QLatin1String("Z"))
        return {QStringLiteral("select a.CurrencyID CurID,SellingRate from acompanymaster a, ExchangeRateDetail b ")
                    + QStringLiteral(" Where a.CompanyID = b.CompanyID And a.currencyid = b.CurrencyID ")
                    + QStringLiteral(" and a.Companyid=?"),
                {partyId}};
    if (type == QLatin1String("B"))
        return {QStringLiteral("select a.CashGroupID CurID,SellingRate from aSettings a, ExchangeRateDetail b ")
                    + QStringLiteral(" Where a.CompanyID = b.CompanyID And a.CashGroupID = b.CurrencyID ")
                    + QStringLiteral(" and a.companyid=?"),
                {companyId}};
    unknownPartyType(type);
}

Statement currencyStatement(const QString &type, qint32 partyId, qint32 companyId)
{
    if (type == QLatin1String("Z"))
        return {QStringLiteral("select CurrencyID curID from acompanyMaster where companyID=?"), {companyId}};
    if (type == QLatin1String("D"))
        return {QStringLiteral("select depcurrencyid curID from adepartmentMaster where DepartmentID=?")
                    + QStringLiteral(" and CompanyID=?"),
                {partyId, companyId}};
    if (type == QLatin1String("V"))
        return {QStringLiteral("select CurrencyID curID from avendorMaster where companyid=?") + QStringLiteral(" and vendorID=?"),
                {companyId, partyId}};
    if (type == QLatin1String("A"))
        return {QStringLiteral("select CurrencyID curID from aaccountmaster where companyid=?")
                    + QStringLiteral(" and accountid=?"),
                {companyId, partyId}};
    unknownPartyType(type);
}

// One half of a list: the pieces before each ":", without the empty last piece.
QStringList listHalf(const QString &half)
{
    QStringList pieces = half.split(QLatin1Char(':'));
    if (!pieces.isEmpty() && pieces.last().isEmpty())
        pieces.removeLast();
    return pieces;
}

QString rateText(const QVariant &rate)
{
    return QString::number(rate.toDouble(), 'f', QLocale::FloatingPointShortest);
}

// The rate of a currency in the parsed list, 0 when it is not there.
double rateOf(const ExchangeRateList &list, qint16 currency)
{
    for (qsizetype i = 0; i < list.currencyIds.size(); ++i) {
        if (toInt16(list.currencyIds.at(i)) == currency)
            return val(list.rates.value(i));
    }
    return 0;
}

bool listed(const ExchangeRateList &list, qint32 currencyId)
{
    for (const QString &id : list.currencyIds) {
        if (val(id) == currencyId)
            return true;
    }
    return false;
}

} // namespace

ExchangeRateList parseExchangeRates(const QString &rates)
{
    const QStringList halves = rates.split(QLatin1Char('-'));
    return ExchangeRateList{listHalf(halves.value(0)), listHalf(halves.value(1))};
}

QString exchangeRatesText(const ExchangeRateList &list)
{
    QString text;
    for (const QString &id : list.currencyIds)
        text += id + QLatin1Char(':');
    text += QLatin1Char('-');
    for (const QString &rate : list.rates)
        text += rate + QLatin1Char(':');
    return text;
}

QString fnAddExchangeRate(Connection &con, const Session &session, const QString &rates, const QString &partyType,
                          qint32 partyId)
{
    const bool blank = rates.trimmed().isEmpty();
    ExchangeRateList list = blank ? ExchangeRateList{} : parseExchangeRates(rates);
    const Statement st = rateStatement(partyType.toUpper(), partyId, session.companyId);
    const Recordset rs = con.query(st.sql, st.values);
    if (rs.isEmpty())
        return rates;
    const QString id = QString::number(rs.field(QStringLiteral("CurID")).toLongLong());
    const QString rate = rateText(rs.field(QStringLiteral("SellingRate")));
    if (blank) {
        list = ExchangeRateList{QStringList{id}, QStringList{rate}};
    } else if (!listed(list, id.toInt())) {
        list.currencyIds << id;
        list.rates << rate;
    }
    return exchangeRatesText(list);
}

double fnConversionFactor(const QString &rates, qint16 fromCurrency, qint16 toCurrency)
{
    const ExchangeRateList list = parseExchangeRates(rates);
    const double from = rateOf(list, fromCurrency);
    const double to = rateOf(list, toCurrency);
    if (from == 0 || to == 0)
        return 1;
    return to / from;
}

qint16 fnGetCurrencyId(Connection &con, const Session &session, const QString &partyType, qint32 partyId)
{
    const Statement st = currencyStatement(partyType.toUpper(), partyId, session.companyId);
    const Recordset rs = con.query(st.sql, st.values);
    if (rs.isEmpty())
        return 0;
    return toInt16(rs.field(QStringLiteral("curID")));
}

bool fnCurrencyInList(const QString &rates, qint32 currencyId) { return listed(parseExchangeRates(rates), currencyId); }

} // namespace shop
