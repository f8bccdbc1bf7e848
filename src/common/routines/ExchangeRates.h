#pragma once

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>

#include <QString>
#include <QStringList>

namespace shop {

// The exchange-rate list of the open transaction (gstrExchangeRates) names each
// currency used and its selling rate: the currency ids each followed by ":", then
// "-", then the rates in the same order each followed by ":" ("1:4:-1:3.75:").
// Parties are given by type: "V" vendor, "C" customer, "D" department,
// "A" account, "Z" company, "B" the company's cash group.

// A list split into its halves (gCurrencyIds and gRates).
struct ExchangeRateList {
    QStringList currencyIds;
    QStringList rates;
};

ExchangeRateList parseExchangeRates(const QString &rates);
QString exchangeRatesText(const ExchangeRateList &list);

// The list with the currency of the party and its selling rate added (once), for the
// session's company. An unknown party type raises a module error.
QString fnAddExchangeRate(Connection &con, const Session &session, const QString &rates, const QString &partyType,
                          qint32 partyId);
// Rate of `to` over rate of `from` in the list; 1 when either is missing or 0.
double fnConversionFactor(const QString &rates, qint16 fromCurrency, qint16 toCurrency);
// The currency of a party ("Z", "D", "V" or "A"); 0 when the party is not found.
qint16 fnGetCurrencyId(Connection &con, const Session &session, const QString &partyType, qint32 partyId);
// Whether the list holds the currency.
bool fnCurrencyInList(const QString &rates, qint32 currencyId);

} // namespace shop
