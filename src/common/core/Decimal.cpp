#include "common/core/Decimal.h"

#include <algorithm>
#include <limits>

#include <QRegularExpression>

namespace shop {

namespace {

struct Parts {
    bool negative = false;
    QString whole;
    QString fraction;
};

std::optional<Parts> splitByPattern(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?)(\\d*)(?:\\.(\\d*))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return std::nullopt;
    Parts p;
    p.negative = m.captured(1) == QLatin1String("-");
    p.whole = m.captured(2).isEmpty() ? QStringLiteral("0") : m.captured(2);
    p.fraction = m.captured(3);
    return p;
}

// The same reading as the pattern above, by hand for plain ASCII text (every number
// the module prints or stores): a printout formats thousands of them, and the pattern
// match was most of its time. Other text, whose blanks and digits are Unicode's, goes
// through the pattern.
std::optional<Parts> split(const QString &text)
{
    const QChar *c = text.constData();
    const qsizetype n = text.size();
    if (std::any_of(c, c + n, [](QChar ch) { return ch.unicode() >= 0x80; }))
        return splitByPattern(text);
    const auto blank = [](QChar ch) {
        const char16_t u = ch.unicode();
        return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
    };
    const auto digit = [](QChar ch) { return ch.unicode() >= '0' && ch.unicode() <= '9'; };
    qsizetype i = 0;
    while (i < n && blank(c[i]))
        ++i;
    Parts p;
    if (i < n && (c[i] == QLatin1Char('-') || c[i] == QLatin1Char('+')))
        p.negative = c[i++] == QLatin1Char('-');
    const qsizetype wholeStart = i;
    while (i < n && digit(c[i]))
        ++i;
    const QString whole = text.mid(wholeStart, i - wholeStart);
    if (i < n && c[i] == QLatin1Char('.')) {
        const qsizetype fractionStart = ++i;
        while (i < n && digit(c[i]))
            ++i;
        p.fraction = text.mid(fractionStart, i - fractionStart);
    }
    while (i < n && blank(c[i]))
        ++i;
    if (i != n || (whole.isEmpty() && p.fraction.isEmpty()))
        return std::nullopt;
    p.whole = whole.isEmpty() ? QStringLiteral("0") : whole;
    return p;
}

// Adds one unit in the last place of a run of decimal digits; returns the carry.
bool incrementDigits(QString &digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            return false;
        }
    }
    return true;
}

QString numberText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'f', 9);
    default:
        return value.toString();
    }
}

} // namespace

QString roundDecimalText(const QString &text, int decimals)
{
    auto parts = split(text);
    if (!parts)
        return {};
    QString whole = parts->whole;
    QString fraction = parts->fraction.leftJustified(decimals + 1, QLatin1Char('0'));
    const bool roundUp = fraction.at(decimals) >= QLatin1Char('5');
    fraction.truncate(decimals);
    if (roundUp && incrementDigits(fraction) && incrementDigits(whole))
        whole.prepend(QLatin1Char('1'));
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    QString result = whole;
    if (decimals > 0)
        result += QLatin1Char('.') + fraction;
    const bool zero = std::none_of(result.cbegin(), result.cend(),
                                   [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    if (parts->negative && !zero)
        result.prepend(QLatin1Char('-'));
    return result;
}

std::optional<Decimal> Decimal::parse(const QString &text)
{
    const QString rounded = roundDecimalText(text, 3);
    if (rounded.isEmpty())
        return std::nullopt;
    QString digits = rounded;
    digits.remove(QLatin1Char('.'));
    bool ok = false;
    const qint64 units = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return fromThousandths(units);
}

namespace {
// Whole numbers beyond this cannot be counted in thousandths.
constexpr qint64 kWholeLimit = std::numeric_limits<qint64>::max() / 1000;
} // namespace

Decimal Decimal::fromVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    // Whole numbers, as the ledgers mostly hold, need no trip through text.
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        if (const qint64 whole = value.toLongLong(); whole > -kWholeLimit && whole < kWholeLimit)
            return fromInt(whole);
        break;
    default:
        break;
    }
    return parse(numberText(value)).value_or(Decimal{});
}

QString Decimal::toString(int decimals) const
{
    const qint64 magnitude = m_units < 0 ? -m_units : m_units;
    QString text = QStringLiteral("%1.%2").arg(magnitude / 1000).arg(magnitude % 1000, 3, 10, QLatin1Char('0'));
    if (m_units < 0)
        text.prepend(QLatin1Char('-'));
    return roundDecimalText(text, decimals);
}

} // namespace shop
