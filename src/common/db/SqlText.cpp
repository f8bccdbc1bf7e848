#include "common/db/SqlText.h"

#include <QDate>
#include <QRegularExpression>

#include <optional>

namespace shop {

QString sqlQuote(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString sqlNumber(long long value) { return QString::number(value); }

QString sqlNumber(double value)
{
    // 'g' with 17 digits keeps every double exactly and never uses a locale's comma.
    return QString::number(value, 'g', 17);
}

namespace {

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('.'); }

// The last character written that is not a blank.
QChar lastSignificant(const QString &text)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (!text.at(i).isSpace())
            return text.at(i);
    return {};
}

bool followsComparison(const QString &text)
{
    const QChar c = lastSignificant(text);
    return c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>');
}

// Whether what follows position `at` (blanks skipped) continues an arithmetic or
// concatenation, which the value then belongs to.
bool arithmeticFollows(const QString &sql, qsizetype at)
{
    while (at < sql.size() && sql.at(at).isSpace())
        ++at;
    return at < sql.size() && QStringLiteral("+-*/%|").contains(sql.at(at));
}

// The end of the quoted run starting at `start` (its closing quote included), a doubled
// quote standing for one; -1 when it is never closed.
qsizetype quotedEnd(const QString &sql, qsizetype start, QChar close)
{
    for (qsizetype i = start + 1; i < sql.size(); ++i) {
        if (sql.at(i) != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < sql.size() && sql.at(i + 1) == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

// The end of a number (sign, digits, fraction) starting at `start`; `start` when none.
qsizetype numberEnd(const QString &sql, qsizetype start)
{
    qsizetype i = start;
    if (sql.at(i) == QLatin1Char('-')) {
        ++i;
        while (i < sql.size() && sql.at(i).isSpace())
            ++i;
    }
    bool digits = false;
    const auto digitRun = [&] {
        for (; i < sql.size() && sql.at(i).isDigit(); ++i)
            digits = true;
    };
    digitRun();
    if (i < sql.size() && sql.at(i) == QLatin1Char('.')) {
        ++i;
        digitRun();
    }
    // 1e5, 5abc, 1.2.3: not a plain number.
    if (!digits || (i < sql.size() && isNameChar(sql.at(i))))
        return start;
    return i;
}

std::optional<QVariant> numberValue(QString text)
{
    text.removeIf([](QChar c) { return c.isSpace(); });
    bool ok = false;
    if (!text.contains(QLatin1Char('.'))) {
        const qlonglong whole = text.toLongLong(&ok);
        return ok ? std::optional<QVariant>(whole) : std::nullopt;
    }
    const double value = text.toDouble(&ok);
    return ok ? std::optional<QVariant>(value) : std::nullopt;
}

bool isDateText(const QString &text)
{
    static const QRegularExpression eightDigits(QStringLiteral("^\\d{8}$"));
    return eightDigits.match(text).hasMatch() && QDate::fromString(text, QStringLiteral("yyyyMMdd")).isValid();
}

} // namespace

BoundSql bindComparedValues(const QString &sql)
{
    BoundSql out;
    out.text.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const qsizetype end = quotedEnd(sql, i, c == QLatin1Char('[') ? QLatin1Char(']') : c);
            if (end < 0)
                break; // an unclosed quote: the rest goes as written
            const QString value = sql.mid(i + 1, end - i - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            if (c == QLatin1Char('\'') && followsComparison(out.text) && !isDateText(value) && !arithmeticFollows(sql, end)) {
                out.text += QLatin1Char('?');
                out.values << value;
            } else {
                out.text += QStringView(sql).mid(i, end - i);
            }
            i = end;
            continue;
        }
        const bool startsNumber = c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.');
        if (startsNumber && followsComparison(out.text) && (i == 0 || !isNameChar(sql.at(i - 1)))) {
            const qsizetype end = numberEnd(sql, i);
            if (end > i && !arithmeticFollows(sql, end)) {
                if (const std::optional<QVariant> value = numberValue(sql.mid(i, end - i))) {
                    out.text += QLatin1Char('?');
                    out.values << *value;
                    i = end;
                    continue;
                }
            }
        }
        out.text += c;
        ++i;
    }
    out.text += QStringView(sql).mid(i);
    return out;
}

} // namespace shop
