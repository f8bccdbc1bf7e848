#include "common/core/Conversions.h"

#include <rtnmod08/ModuleError.h>

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace shop {

namespace {

const QString kSource = QStringLiteral("rtnmod08");

[[noreturn]] void raise(long long number)
{
    switch (number) {
    case ModuleError::Overflow:
        throw ModuleError(number, kSource, QStringLiteral("Overflow"));
    case ModuleError::InvalidUseOfNull:
        throw ModuleError(number, kSource, QStringLiteral("Invalid use of Null"));
    default:
        throw ModuleError(ModuleError::TypeMismatch, kSource, QStringLiteral("Type mismatch"));
    }
}

// Sign, mantissa and exponent of the number a text starts with.
const QRegularExpression &leadingNumber()
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+))(?:[eE]([-+]?\\d+))?"));
    return re;
}

// A text that is a number as a whole, blanks around it allowed.
const QRegularExpression &wholeNumber()
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+))(?:[eE]([-+]?\\d+))?\\s*$"));
    return re;
}

// Plain decimal text (no exponent) of a number text matched by one of the above.
QString plainText(const QRegularExpressionMatch &m)
{
    if (m.captured(2).isEmpty())
        return m.captured(1);
    return QString::number((m.captured(1) + QLatin1Char('e') + m.captured(2)).toDouble(), 'f',
                           QLocale::FloatingPointShortest);
}

bool isNull(const QVariant &value) { return !value.isValid() || value.isNull(); }

bool isTextType(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray
        || value.typeId() == QMetaType::QChar;
}

bool isIntegerType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isFloatType(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

qint64 checkedRange(double rounded, qint64 low, qint64 high)
{
    if (std::isnan(rounded) || rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        raise(ModuleError::Overflow);
    return static_cast<qint64>(rounded);
}

qint64 wholeNumberOf(const QVariant &value, qint64 low, qint64 high)
{
    if (isNull(value))
        raise(ModuleError::InvalidUseOfNull);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0; // a true flag has always counted as -1
    if (isIntegerType(value)) {
        if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
            if (value.toULongLong() > static_cast<quint64>(high))
                raise(ModuleError::Overflow);
            return static_cast<qint64>(value.toULongLong());
        }
        const qint64 n = value.toLongLong();
        if (n < low || n > high)
            raise(ModuleError::Overflow);
        return n;
    }
    if (isFloatType(value))
        return checkedRange(roundHalfEven(value.toDouble()), low, high);
    if (isTextType(value)) {
        const auto m = wholeNumber().match(value.toString());
        if (!m.hasMatch())
            raise(ModuleError::TypeMismatch);
        return checkedRange(roundHalfEven(plainText(m).toDouble()), low, high);
    }
    raise(ModuleError::TypeMismatch);
}

qint64 wholeNumberOf(Decimal value, qint64 low, qint64 high)
{
    const qint64 units = value.thousandths();
    qint64 whole = units / 1000;
    const qint64 rest = units % 1000; // carries the sign of units
    if (rest > 500 || (rest == 500 && whole % 2 != 0))
        ++whole;
    else if (rest < -500 || (rest == -500 && whole % 2 != 0))
        --whole;
    if (whole < low || whole > high)
        raise(ModuleError::Overflow);
    return whole;
}

// --- Display patterns ---

struct NumberPattern {
    int minWhole = 0;    // '0' digits before the point
    bool grouped = false;
    int minDecimals = 0; // '0' digits after the point
    int maxDecimals = 0; // all digits after the point
};

NumberPattern parsePattern(const QString &pattern)
{
    NumberPattern p;
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? pattern : pattern.left(point);
    const QString fraction = point < 0 ? QString() : pattern.mid(point + 1);
    p.minWhole = static_cast<int>(whole.count(QLatin1Char('0')));
    p.grouped = whole.contains(QLatin1Char(','));
    p.minDecimals = static_cast<int>(fraction.count(QLatin1Char('0')));
    p.maxDecimals = p.minDecimals + static_cast<int>(fraction.count(QLatin1Char('#')));
    return p;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits.at(i);
    }
    return out;
}

// Lays out plain decimal text (sign, digits, point) by a pattern.
QString applyPattern(const QString &plain, const QString &pattern)
{
    const NumberPattern p = parsePattern(pattern);
    QString rounded = roundDecimalText(plain, p.maxDecimals);
    if (rounded.isEmpty())
        return plain;
    const bool negative = rounded.startsWith(QLatin1Char('-'));
    if (negative)
        rounded.remove(0, 1);
    const qsizetype point = rounded.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? rounded : rounded.left(point);
    QString fraction = point < 0 ? QString() : rounded.mid(point + 1);
    while (fraction.size() > p.minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (whole == QLatin1String("0") && p.minWhole == 0)
        whole.clear();
    whole = whole.rightJustified(p.minWhole, QLatin1Char('0'));
    if (p.grouped)
        whole = groupThousands(whole);
    QString text = whole;
    if (!fraction.isEmpty())
        text += QLatin1Char('.') + fraction;
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString shortestText(double value) { return QString::number(value, 'f', QLocale::FloatingPointShortest); }

const QString kDisplayDate = QStringLiteral("dd/MM/yyyy");
const QString kStorageDate = QStringLiteral("yyyy-MM-dd");

} // namespace

double val(const QString &text)
{
    const auto m = leadingNumber().match(text);
    if (!m.hasMatch())
        return 0.0;
    const QString number = m.captured(2).isEmpty() ? m.captured(1) : m.captured(1) + QLatin1Char('e') + m.captured(2);
    return number.toDouble();
}

Decimal valDecimal(const QString &text)
{
    // Most text is a plain number as a whole; only the rest needs the leading-number pattern.
    if (const auto whole = Decimal::parse(text))
        return *whole;
    const auto m = leadingNumber().match(text);
    if (!m.hasMatch())
        return {};
    const auto value = Decimal::parse(plainText(m));
    if (!value)
        raise(ModuleError::Overflow);
    return *value;
}

double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

qint16 toInt16(const QVariant &value)
{
    return static_cast<qint16>(
        wholeNumberOf(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

qint32 toInt32(const QVariant &value)
{
    return static_cast<qint32>(
        wholeNumberOf(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

qint16 toInt16(Decimal value)
{
    return static_cast<qint16>(
        wholeNumberOf(value, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

qint32 toInt32(Decimal value)
{
    return static_cast<qint32>(
        wholeNumberOf(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

bool toBool(const QVariant &value)
{
    if (isNull(value))
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isIntegerType(value))
        return value.toLongLong() != 0;
    if (isFloatType(value))
        return value.toDouble() != 0.0;
    if (isTextType(value)) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty() || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        const auto m = wholeNumber().match(text);
        if (!m.hasMatch())
            raise(ModuleError::TypeMismatch);
        return plainText(m).toDouble() != 0.0;
    }
    raise(ModuleError::TypeMismatch);
}

NumberFormat::NumberFormat(const QString &pattern) : m_pattern(pattern)
{
    const NumberPattern p = parsePattern(pattern);
    m_minWhole = p.minWhole;
    m_grouped = p.grouped;
    m_minDecimals = p.minDecimals;
    m_maxDecimals = p.maxDecimals;
}

QString NumberFormat::operator()(double value) const
{
    if (!std::isfinite(value))
        return QString::number(value);
    // The shortest digits that read back as the value, as the pattern rounding has
    // always started from, placed by their exponent (zeros beyond them, as the shortest
    // fixed text writes them).
    std::array<char, 32> text{};
    const auto [last, failed] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    if (failed != std::errc())
        return applyPattern(shortestText(value), m_pattern);
    const char *at = text.data();
    const bool negative = *at == '-';
    if (negative)
        ++at;
    const char *exponentMark = std::find(at, static_cast<const char *>(last), 'e');
    int exponent = 0;
    std::from_chars(exponentMark + 1 + (exponentMark[1] == '+' ? 1 : 0), last, exponent);
    std::array<char, 24> significant{};
    int k = 0;
    for (const char *c = at; c < exponentMark; ++c)
        if (*c != '.')
            significant[static_cast<size_t>(k++)] = *c;
    // The digit of place p (0 the units, 1 the tens, -1 the tenths, ...).
    const auto digitAt = [&](int place) {
        const int index = exponent - place;
        return index >= 0 && index < k ? significant[static_cast<size_t>(index)] : '0';
    };
    // A leading place for a carry, the whole digits, then exactly the pattern's decimals.
    std::array<char, 700> digits{};
    if (std::max(exponent, 0) + 2 + m_maxDecimals > static_cast<int>(digits.size()))
        return applyPattern(shortestText(value), m_pattern);
    int n = 0;
    digits[static_cast<size_t>(n++)] = '0';
    for (int place = std::max(exponent, 0); place >= 0; --place)
        digits[static_cast<size_t>(n++)] = digitAt(place);
    const int wholeEnd = n;
    for (int i = 1; i <= m_maxDecimals; ++i)
        digits[static_cast<size_t>(n++)] = digitAt(-i);
    const bool moreDigits = exponent - k + 1 < -m_maxDecimals; // digits beyond the pattern's decimals
    // Halves round away from zero.
    if (moreDigits && digitAt(-m_maxDecimals - 1) >= '5') {
        int i = n - 1;
        while (digits[static_cast<size_t>(i)] == '9')
            digits[static_cast<size_t>(i--)] = '0';
        ++digits[static_cast<size_t>(i)];
    }
    int wholeStart = 0;
    while (wholeStart < wholeEnd - 1 && digits[static_cast<size_t>(wholeStart)] == '0')
        ++wholeStart;
    int fractionEnd = n;
    while (fractionEnd - wholeEnd > m_minDecimals && digits[static_cast<size_t>(fractionEnd - 1)] == '0')
        --fractionEnd;
    const bool zero = std::all_of(digits.begin(), digits.begin() + n, [](char c) { return c == '0'; });
    int wholeCount = wholeEnd - wholeStart;
    if (wholeCount == 1 && digits[static_cast<size_t>(wholeStart)] == '0' && m_minWhole == 0)
        wholeCount = 0;
    const int padding = std::max(m_minWhole - wholeCount, 0);
    const int allWhole = wholeCount + padding;

    QString out;
    out.reserve(allWhole + allWhole / 3 + (fractionEnd - wholeEnd) + 2);
    if (negative && !zero)
        out += QLatin1Char('-');
    for (int i = 0; i < allWhole; ++i) {
        if (m_grouped && i > 0 && (allWhole - i) % 3 == 0)
            out += QLatin1Char(',');
        out += QLatin1Char(i < padding ? '0' : digits[static_cast<size_t>(wholeEnd - wholeCount + i - padding)]);
    }
    if (fractionEnd > wholeEnd) {
        out += QLatin1Char('.');
        for (int i = wholeEnd; i < fractionEnd; ++i)
            out += QLatin1Char(digits[static_cast<size_t>(i)]);
    }
    return out;
}

QString formatNumber(double value, const QString &pattern) { return NumberFormat(pattern)(value); }

QString formatNumber(Decimal value, const QString &pattern) { return applyPattern(value.toString(3), pattern); }

QString formatNumber(const QString &numberText, const QString &pattern)
{
    const auto m = wholeNumber().match(numberText);
    if (!m.hasMatch())
        return numberText;
    return applyPattern(plainText(m), pattern);
}

QString formatValue(const QVariant &value, const QString &pattern)
{
    if (isNull(value))
        return {};
    if (isFloatType(value))
        return formatNumber(value.toDouble(), pattern);
    if (isIntegerType(value))
        return applyPattern(value.toString(), pattern);
    return formatNumber(value.toString(), pattern);
}

QString storageDate(const QDate &date) { return date.isValid() ? date.toString(kStorageDate) : QString(); }

QString displayDate(const QDate &date) { return date.isValid() ? date.toString(kDisplayDate) : QString(); }

QDate parseDate(const QString &text)
{
    static const QRegularExpression display(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    static const QRegularExpression stored(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ]\\d{2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?$"));
    const QString t = text.trimmed();
    if (const auto m = display.match(t); m.hasMatch())
        return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (const auto m = stored.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return {};
}

QDate dateValue(const QVariant &value)
{
    if (isNull(value))
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        return isTextType(value) ? parseDate(value.toString()) : QDate();
    }
}

QString cellText(const QVariant &value)
{
    if (isNull(value))
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return displayDate(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        if (stamp.time() == QTime(0, 0))
            return displayDate(stamp.date());
        return stamp.toString(kDisplayDate + QStringLiteral(" HH:mm:ss"));
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return shortestText(value.toDouble());
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    static const QRegularExpression isoDate(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (isoDate.match(text).hasMatch()) {
        const QDate date = parseDate(text);
        if (date.isValid())
            return displayDate(date);
    }
    return text;
}

QString exactCellText(const QVariant &value)
{
    if (!isNull(value) && isTextType(value))
        return value.toString();
    return cellText(value);
}

} // namespace shop
