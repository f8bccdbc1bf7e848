#include "common/db/SqliteFunctions.h"

#include "common/core/Decimal.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <cstring>
#include <limits>
#include <sqlite3.h>

namespace shop {

namespace {

QString valueText(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return text ? QString::fromUtf8(text) : QString();
}

// 1 when the text reads as a number (blanks around, one sign, one decimal point).
void isnumericFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    static const QRegularExpression number(
        QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    sqlite3_result_int(ctx, number.match(valueText(argv[0])).hasMatch() ? 1 : 0);
}

// cast(x as numeric(p, s)): the value rounded half away from zero to s decimals and
// written with exactly s decimals, as the server writes such a value out as text.
void numericFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const int decimals = sqlite3_value_int(argv[1]);
    QString source;
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT)
        source = QString::number(sqlite3_value_double(argv[0]), 'f', 9);
    else
        source = valueText(argv[0]);
    const QString rounded = roundDecimalText(source, decimals);
    if (rounded.isEmpty()) {
        sqlite3_result_error(ctx, "Error converting data type varchar to numeric.", -1);
        return;
    }
    const QByteArray utf8 = rounded.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// right(text, n): the last n characters, none for n <= 0.
void rightFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = valueText(argv[0]);
    const qsizetype count = sqlite3_value_int64(argv[1]);
    const QByteArray utf8 = (count <= 0 ? QString() : text.right(count)).toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// sum(x) as the server sums numeric columns: exactly, in decimal. SQLite holds a
// numeric(18,3) value as binary floating point, so 0.1 + 0.2 - 0.3 would leave 5.55e-17
// and a location that gave out all it received would still count as holding stock.
// Each value is taken at its shortest decimal text and added as a scaled integer;
// whole numbers sum to a whole number, no values to null. A value beyond what the
// scaled integer holds makes the sum fall back to floating point.
__extension__ typedef __int128 Wide;

struct ExactSum {
    bool any;
    bool inexact;      // fell back to floating point
    bool fractional;   // some value was not an integer
    int scale;         // decimals of units
    Wide units;        // the sum times 10^scale
    double fallback;   // the floating-point sum, kept alongside
};

// SQLite's aggregate memory is aligned for 8 bytes only, less than a Wide needs: the
// running sum is copied in and out of it.
void *sumContext(sqlite3_context *ctx, int bytes) { return sqlite3_aggregate_context(ctx, bytes); }

ExactSum loadSum(const void *stored)
{
    ExactSum sum;
    std::memcpy(static_cast<void *>(&sum), stored, sizeof(ExactSum));
    return sum;
}

void storeSum(void *stored, const ExactSum &sum) { std::memcpy(stored, static_cast<const void *>(&sum), sizeof(ExactSum)); }

constexpr int kMaxScale = 18;
constexpr Wide kLimit = static_cast<Wide>(1000000000000000000LL) * static_cast<Wide>(1000000000000000000LL); // 10^36

Wide powerOfTen(int n)
{
    Wide p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// The value as units at a scale, from its decimal text ("0.1", "-12.5e-3", "7").
bool scaledValue(const QString &text, Wide &units, int &scale)
{
    static const QRegularExpression number(QStringLiteral("^\\s*([-+]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([-+]?\\d+))?\\s*$"));
    const auto m = number.match(text);
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
        return false;
    QString digits = m.captured(2) + m.captured(3);
    int decimals = static_cast<int>(m.captured(3).size()) - (m.captured(4).isEmpty() ? 0 : m.captured(4).toInt());
    while (decimals > 0 && digits.endsWith(QLatin1Char('0'))) {
        digits.chop(1);
        --decimals;
    }
    if (decimals < 0) {
        digits += QString(-decimals, QLatin1Char('0'));
        decimals = 0;
    }
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (decimals > kMaxScale || digits.size() > 36)
        return false;
    Wide value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - '0');
    units = m.captured(1) == QLatin1String("-") ? -value : value;
    scale = decimals;
    return true;
}

void addToSum(ExactSum *sum, sqlite3_value **argv)
{
    sum->any = true;
    sum->fallback += sqlite3_value_double(argv[0]);
    if (sum->inexact)
        return;
    Wide units = 0;
    int scale = 0;
    bool read = false;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
        units = sqlite3_value_int64(argv[0]);
        read = true;
        break;
    case SQLITE_FLOAT:
        read = scaledValue(QString::number(sqlite3_value_double(argv[0]), 'g', QLocale::FloatingPointShortest), units, scale);
        break;
    default:
        read = scaledValue(valueText(argv[0]), units, scale);
        if (!read) { // text that is no number counts as its numeric prefix, as in SQLite's own sum
            read = scaledValue(QString::number(sqlite3_value_double(argv[0]), 'g', QLocale::FloatingPointShortest),
                               units, scale);
        }
        break;
    }
    if (!read) {
        sum->inexact = true;
        return;
    }
    if (scale > 0 || sqlite3_value_type(argv[0]) == SQLITE_FLOAT)
        sum->fractional = true;
    if (scale > sum->scale) {
        const Wide factor = powerOfTen(scale - sum->scale);
        if (sum->units > kLimit / factor || sum->units < -kLimit / factor) {
            sum->inexact = true;
            return;
        }
        sum->units *= factor;
        sum->scale = scale;
    } else if (scale < sum->scale) {
        const Wide factor = powerOfTen(sum->scale - scale);
        if (units > kLimit / factor || units < -kLimit / factor) {
            sum->inexact = true;
            return;
        }
        units *= factor;
    }
    sum->units += units;
    if (sum->units > kLimit || sum->units < -kLimit)
        sum->inexact = true;
}

void exactSumStep(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    void *stored = sumContext(ctx, sizeof(ExactSum));
    if (!stored || sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    ExactSum sum = loadSum(stored);
    addToSum(&sum, argv);
    storeSum(stored, sum);
}

QString wideText(Wide value)
{
    const bool negative = value < 0;
    QString digits;
    do {
        const int digit = static_cast<int>(value % 10);
        digits.prepend(QLatin1Char(static_cast<char>('0' + (negative ? -digit : digit))));
        value /= 10;
    } while (value != 0);
    return negative ? QLatin1Char('-') + digits : digits;
}

void exactSumFinal(sqlite3_context *ctx)
{
    const void *stored = sumContext(ctx, 0);
    if (!stored) {
        sqlite3_result_null(ctx);
        return;
    }
    const ExactSum loaded = loadSum(stored);
    const ExactSum *sum = &loaded;
    if (!sum->any) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sum->inexact) {
        sqlite3_result_double(ctx, sum->fallback);
        return;
    }
    if (!sum->fractional && sum->units <= std::numeric_limits<qint64>::max()
        && sum->units >= std::numeric_limits<qint64>::min()) {
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(sum->units));
        return;
    }
    QString text = wideText(sum->units);
    if (sum->scale > 0) {
        const bool negative = text.startsWith(QLatin1Char('-'));
        QString digits = negative ? text.mid(1) : text;
        digits = digits.rightJustified(sum->scale + 1, QLatin1Char('0'));
        digits.insert(digits.size() - sum->scale, QLatin1Char('.'));
        text = negative ? QLatin1Char('-') + digits : digits;
    }
    // The double nearest to the exact decimal, the way the value would be stored.
    sqlite3_result_double(ctx, text.toDouble());
}

} // namespace

bool registerSqliteFunctions(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    auto *sqlite = *static_cast<sqlite3 *const *>(handle.data());
    if (!sqlite)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(sqlite, "tsql_isnumeric", 1, flags, nullptr, isnumericFunction, nullptr, nullptr) == SQLITE_OK
        && sqlite3_create_function(sqlite, "tsql_numeric", 2, flags, nullptr, numericFunction, nullptr, nullptr) == SQLITE_OK
        && sqlite3_create_function(sqlite, "tsql_right", 2, flags, nullptr, rightFunction, nullptr, nullptr) == SQLITE_OK
        && sqlite3_create_function(sqlite, "tsql_sum", 1, flags, nullptr, nullptr, exactSumStep, exactSumFinal) == SQLITE_OK;
}

} // namespace shop
