#include "common/db/Dialect.h"

#include <rtnmod08/ModuleError.h>

#include <QRegularExpression>

namespace shop {

namespace {

bool isIdentifierChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Index just past the quoted text that starts at `from` (a doubled quote stays inside).
qsizetype skipQuoted(const QString &s, qsizetype from)
{
    const QChar quote = s.at(from);
    qsizetype i = from + 1;
    while (i < s.size()) {
        if (s.at(i) == quote) {
            if (i + 1 < s.size() && s.at(i + 1) == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return s.size();
}

// Index of the parenthesis closing the one at `open`, or -1.
qsizetype matchingParen(const QString &s, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < s.size();) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = skipQuoted(s, i);
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return i;
        ++i;
    }
    return -1;
}

// Splits at a separator found outside quotes and parentheses. A word separator
// (" as ") must stand between blanks.
QStringList splitTopLevel(const QString &s, const QString &separator)
{
    QStringList parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = skipQuoted(s, i);
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0 && s.mid(i, separator.size()).compare(separator, Qt::CaseInsensitive) == 0) {
            parts << s.mid(start, i - start);
            i += separator.size();
            start = i;
            continue;
        }
        ++i;
    }
    parts << s.mid(start);
    return parts;
}

const QStringList &rewrittenFunctions()
{
    static const QStringList names{QStringLiteral("isnull"),    QStringLiteral("len"),
                                   QStringLiteral("right"),     QStringLiteral("isnumeric"),
                                   QStringLiteral("convert"),   QStringLiteral("getdate"),
                                   QStringLiteral("cast"),      QStringLiteral("sum")};
    return names;
}

// A literal right after LIKE is a pattern matched against text, never a date.
bool endsWithLike(const QString &text)
{
    const QString t = text.trimmed();
    return t.endsWith(QLatin1String("like"), Qt::CaseInsensitive)
        && (t.size() == 4 || !isIdentifierChar(t.at(t.size() - 5)));
}

} // namespace

const Dialect &Dialect::of(Backend backend)
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    switch (backend) {
    case Backend::Sqlite:
        return sqlite;
    case Backend::Postgres:
        return postgres;
    case Backend::None:
        break;
    }
    throw ModuleError(ModuleError::ConnectionClosed, QStringLiteral("Dialect"),
                      QStringLiteral("Operation is not allowed when the object is closed."));
}

QString Dialect::translate(const QString &statement) const { return rewrite(statement); }

QString Dialect::rewrite(const QString &s) const
{
    QString out;
    out.reserve(s.size() + 16);
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype end = skipQuoted(s, i);
            const QString literal = s.mid(i, end - i);
            static const QRegularExpression eightDigits(QStringLiteral("^'(\\d{8})'$"));
            const auto m = eightDigits.match(literal);
            const QDate date = m.hasMatch() ? QDate::fromString(m.captured(1), QStringLiteral("yyyyMMdd")) : QDate();
            // The server's 'yyyymmdd' is a date wherever it stands: after a comparison,
            // in BETWEEN and IN, as an argument or in a select list.
            out += (date.isValid() && !endsWithLike(out)) ? dateLiteral(date) : literal;
            i = end;
            continue;
        }
        if (c == QLatin1Char('"')) {
            const qsizetype end = skipQuoted(s, i);
            out += s.mid(i, end - i);
            i = end;
            continue;
        }
        const bool wordStart = isIdentifierChar(c) && !c.isDigit()
            && (i == 0 || (!isIdentifierChar(s.at(i - 1)) && s.at(i - 1) != QLatin1Char('.')));
        if (!wordStart) {
            out += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < s.size() && isIdentifierChar(s.at(j)))
            ++j;
        const QString word = s.mid(i, j - i);
        qsizetype k = j;
        while (k < s.size() && s.at(k).isSpace())
            ++k;
        const QString function = word.toLower();
        if (k < s.size() && s.at(k) == QLatin1Char('(') && rewrittenFunctions().contains(function)) {
            const qsizetype close = matchingParen(s, k);
            if (close > k) {
                const QString inner = rewrite(s.mid(k + 1, close - k - 1));
                std::optional<QString> replacement;
                if (function == QLatin1String("cast")) {
                    const QStringList parts = splitTopLevel(inner, QStringLiteral(" as "));
                    if (parts.size() == 2) {
                        QString type = parts.at(1).trimmed().toLower();
                        type.remove(QLatin1Char(' '));
                        replacement = rewriteCast(parts.at(0).trimmed(), type);
                    }
                } else {
                    QStringList args = splitTopLevel(inner, QStringLiteral(","));
                    for (QString &a : args)
                        a = a.trimmed();
                    if (args.size() == 1 && args.first().isEmpty())
                        args.clear();
                    replacement = rewriteCall(function, args);
                }
                out += replacement.value_or(word + s.mid(j, k - j) + QLatin1Char('(') + inner + QLatin1Char(')'));
                i = close + 1;
                continue;
            }
        }
        out += word;
        i = j;
    }
    return out;
}

std::optional<QString> Dialect::rewriteCall(const QString &function, const QStringList &args) const
{
    if (function == QLatin1String("convert") && args.size() == 2 && args.at(0).compare(QLatin1String("int"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("cast(%1 as integer)").arg(args.at(1));
    if (function == QLatin1String("len") && args.size() == 1)
        return QStringLiteral("length(rtrim(cast(%1 as text), ' '))").arg(args.at(0));
    if (function == QLatin1String("isnull") && args.size() == 2)
        return isnullFunction() + QStringLiteral("(%1, %2)").arg(args.at(0), args.at(1));
    // right(x, n) of the server gives '' for n <= 0 where the backends would not; a
    // helper of ours takes n once, so that a bound count binds once.
    if (function == QLatin1String("right") && args.size() == 2)
        return QStringLiteral("tsql_right(cast(%1 as text), %2)").arg(args.at(0), args.at(1));
    if (function == QLatin1String("isnumeric") && args.size() == 1)
        return QStringLiteral("tsql_isnumeric(%1)").arg(args.at(0));
    if (function == QLatin1String("getdate") && args.isEmpty())
        return currentTimestamp();
    if (function == QLatin1String("sum") && args.size() == 1 && !exactSumFunction().isEmpty())
        return exactSumFunction() + QStringLiteral("(%1)").arg(args.at(0));
    return std::nullopt;
}

QString Dialect::dateLiteral(const QDate &date) const
{
    return QLatin1Char('\'') + date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('\'');
}

// Typed, so that the literal is a date in a select list or a sub-select too, not text.
QString PostgresDialect::dateLiteral(const QDate &date) const
{
    return QStringLiteral("date '") + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

std::optional<QString> Dialect::rewriteCast(const QString &, const QString &) const { return std::nullopt; }

// --- SQLite ---------------------------------------------------------------

QString SqliteDialect::dateLiteral(const QDate &date) const
{
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

std::optional<QString> SqliteDialect::rewriteCast(const QString &expression, const QString &type) const
{
    static const QRegularExpression numeric(QStringLiteral("^(?:numeric|decimal)\\((\\d+),(\\d+)\\)$"));
    const auto m = numeric.match(type);
    if (!m.hasMatch())
        return std::nullopt;
    return QStringLiteral("tsql_numeric(%1, %2)").arg(expression, m.captured(2));
}

// --- PostgreSQL -----------------------------------------------------------

QStringList PostgresDialect::functionDefinitions() const
{
    QStringList defs;
    // isnull(a, b) takes the type of its first argument; one overload per type the
    // statements pass, so that isnull(right(whno, ...), 0) stays text.
    const QList<std::pair<QString, QString>> pairs{
        {QStringLiteral("text"), QStringLiteral("text")},
        {QStringLiteral("text"), QStringLiteral("integer")},
        {QStringLiteral("integer"), QStringLiteral("integer")},
        {QStringLiteral("bigint"), QStringLiteral("bigint")},
        {QStringLiteral("numeric"), QStringLiteral("numeric")},
        {QStringLiteral("double precision"), QStringLiteral("double precision")},
        {QStringLiteral("date"), QStringLiteral("date")},
        {QStringLiteral("timestamp"), QStringLiteral("timestamp")},
    };
    for (const auto &[first, second] : pairs) {
        defs << QStringLiteral("create or replace function tsql_isnull(a %1, b %2) returns %1 "
                               "language sql immutable as $$ select coalesce(a, cast(b as %1)) $$")
                    .arg(first, second);
    }
    defs << QStringLiteral("create or replace function tsql_right(a text, n integer) returns text "
                           "language sql immutable as $$ select case when n <= 0 then '' else right(a, n) end $$");
    defs << QStringLiteral("create or replace function tsql_isnumeric(a anyelement) returns integer "
                           "language sql immutable as $$ select case when cast(a as text) ~ "
                           "'^[[:space:]]*[-+]?([0-9]+[.]?[0-9]*|[.][0-9]+)[[:space:]]*$' "
                           "then 1 else 0 end $$");
    defs << QStringLiteral("create or replace function tsql_isnumeric(a text) returns integer "
                           "language sql immutable as $$ select case when a ~ "
                           "'^[[:space:]]*[-+]?([0-9]+[.]?[0-9]*|[.][0-9]+)[[:space:]]*$' "
                           "then 1 else 0 end $$");
    return defs;
}

} // namespace shop
