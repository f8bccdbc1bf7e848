#pragma once

#include "common/core/Decimal.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace shop {

// The conversions every window uses on grid cells, list cells, text boxes and
// database values. Grid and list cells hold text, so numbers go in and come out
// of them here and nowhere else.

// --- Numbers read back from text -------------------------------------------------

// The number at the start of the text, the way cells have always been read: leading
// blanks are skipped, then an optional sign, digits with at most one decimal point
// and an optional exponent; reading stops at the first other character. Text that
// does not start with a number counts as 0 ("12abc" is 12, "abc" is 0). The decimal
// point is always ".", whatever the user's locale.
double val(const QString &text);
// The same leading number as an exact quantity (three decimals, half away from zero).
Decimal valDecimal(const QString &text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
double roundHalfEven(double value);

// --- Whole numbers and flags from database values, cells and settings -----------
// Text must be a number as a whole (blanks around it allowed), else error 13 "Type
// mismatch"; null raises 94 "Invalid use of Null"; a fraction rounds half to even;
// a result outside the type raises 6 "Overflow".
qint16 toInt16(const QVariant &value);
qint32 toInt32(const QVariant &value);
qint16 toInt16(Decimal value);
qint32 toInt32(Decimal value);

// A flag stored in the database: null, empty text and 0 are false, any other number
// is true, and so are the words "True"/"False". Other text raises error 13.
bool toBool(const QVariant &value);

// --- Display formats -------------------------------------------------------------
// Patterns of '#' and '0' digits with an optional '.' and ',' grouping: '0' is a digit
// always written, '#' one written only when needed; a ',' in the whole part groups
// thousands. Halves round away from zero; the decimal point is always ".".
namespace fmt {
inline const QString Quantity = QStringLiteral("##0.000");
inline const QString Stock = QStringLiteral("#0.000");
inline const QString Fixed3 = QStringLiteral("0.000");
inline const QString Grouped3 = QStringLiteral("###,###,##0.000");
inline const QString Amount2 = QStringLiteral("0.00");
} // namespace fmt

// A display pattern read once, for formatting many numbers by it: the digits of the
// value's shortest text rounded in place, without a string for each step.
class NumberFormat {
public:
    explicit NumberFormat(const QString &pattern);
    QString operator()(double value) const;

private:
    QString m_pattern;
    int m_minWhole = 0;
    bool m_grouped = false;
    int m_minDecimals = 0;
    int m_maxDecimals = 0;
};

QString formatNumber(double value, const QString &pattern);
QString formatNumber(Decimal value, const QString &pattern);
// Text that is a number is formatted; other text comes back as it was.
QString formatNumber(const QString &numberText, const QString &pattern);
// A database value: null gives "", numbers and number text are formatted, other
// values come back as text.
QString formatValue(const QVariant &value, const QString &pattern);

// --- Dates -------------------------------------------------------------------------
// Stored as yyyy-MM-dd, shown as dd/MM/yyyy.
QString storageDate(const QDate &date);
QString displayDate(const QDate &date);
// A displayed (dd/MM/yyyy, d/M/yyyy) or stored (yyyy-MM-dd, optionally followed by a
// time) date; an invalid QDate for anything else.
QDate parseDate(const QString &text);
// A database value holding a date, a date and time or date text.
QDate dateValue(const QVariant &value);

// --- Cells -------------------------------------------------------------------------
// The text a grid or list cell shows for a database value: trimmed, null as "",
// dates (and stored date text) in the display form, numbers without locale.
QString cellText(const QVariant &value);
// The text a cell holds for a database value that must go back exactly as it came out
// (a batch or serial number, an id): stored text untouched, blanks and all, however
// much it looks like a date; null as ""; other values as cellText gives them.
QString exactCellText(const QVariant &value);

} // namespace shop
