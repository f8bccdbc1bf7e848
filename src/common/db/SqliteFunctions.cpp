#include "common/db/SqliteFunctions.h"

#include "common/core/Decimal.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
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
        && sqlite3_create_function(sqlite, "tsql_right", 2, flags, nullptr, rightFunction, nullptr, nullptr) == SQLITE_OK;
}

} // namespace shop
