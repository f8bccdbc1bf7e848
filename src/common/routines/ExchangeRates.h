#pragma once

#include <QString>

namespace shop {

// The exchange-rate list of the open transaction (gstrExchangeRates) names each
// currency used and its selling rate: the currency ids each followed by ":", then
// "-", then the rates in the same order each followed by ":" ("1:4:-1:3.75:").
// Parties are given by type: "V" vendor, "C" customer, "D" department,
// "A" account, "Z" company, "B" the company's cash group.

// Splits a list into gCurrencyIds and gRates.
void parseExchangeRates(const QString &rates);
// The list text of gCurrencyIds and gRates.
QString exchangeRatesText();

// The list with the currency of the party and its selling rate added (once).
// An unknown party type raises a module error.
QString fnAddExchangeRate(const QString &rates, const QString &partyType, qint32 partyId);
// Rate of `to` over rate of `from` in gstrExchangeRates; 1 when either is missing or 0.
double fnConversionFactor(qint16 fromCurrency, qint16 toCurrency);
// The currency of a party ("Z", "D", "V" or "A"); 0 when the party is not found.
qint16 fnGetCurrencyId(const QString &partyType, qint32 partyId);
// Whether gCurrencyIds holds the currency.
bool fnCurrencyInList(qint32 currencyId);

} // namespace shop
