#include "common/db/Dialect.h"
#include "support/FuzzInput.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace shop {
namespace {

// The quoted texts of a statement, in order ('' inside a quote is an apostrophe).
QStringList quotedTexts(const QString &statement)
{
    QStringList texts;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        if (statement.at(i) != QLatin1Char('\''))
            continue;
        QString text;
        for (++i; i < statement.size(); ++i) {
            if (statement.at(i) == QLatin1Char('\'')) {
                if (i + 1 < statement.size() && statement.at(i + 1) == QLatin1Char('\'')) {
                    text += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                break;
            }
            text += statement.at(i);
        }
        texts << text;
    }
    return texts;
}

bool isSubsequence(const QStringList &part, const QStringList &whole)
{
    qsizetype at = 0;
    for (const QString &p : part) {
        while (at < whole.size() && whole.at(at) != p)
            ++at;
        if (at == whole.size())
            return false;
        ++at;
    }
    return true;
}

// Statements built from the constructs the dialects rewrite, nested, unbalanced and
// mixed with quoted text that looks like them: no rewrite may crash, hang or touch
// what is inside quotes (other than a quoted date literal, which is itself a construct).
TEST(DialectFuzz, RewritesNeverChangeQuotedText)
{
    test::FuzzInput input(0x5eed0002);
    const QStringList constructs{"isnull(", "len(", "right(", "isnumeric(", "convert(int, ", "getdate()",
                                 "cast(", " as numeric(18,3))", " as varchar(20))", "sum(", "x", "qty", ", ", ")",
                                 "(", " between ", " and ", " = ", " >= ", "select ", " from t where ", "'20261206'",
                                 "--", "/* isnull( */", "\n"};
    const QStringList quotable{"isnull(", "len(x)", "getdate()", "2026", "abc", "'", ")", "(", "--", "convert(int, 1)",
                               "cast(1 as numeric(18,3))", " ", "é中文"};
    for (Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        const Dialect *dialect = &Dialect::of(backend);
        for (int i = 0; i < 3000; ++i) {
            QString statement;
            for (int p = 1 + input.below(12); p > 0; --p) {
                if (input.chance(25)) {
                    QString text = input.mixed(quotable, 1 + input.below(3));
                    text.replace(QLatin1Char('\''), QStringLiteral("''"));
                    statement += QLatin1Char('\'') + text + QLatin1Char('\'');
                } else {
                    statement += input.pick(constructs);
                }
            }
            QStringList before = quotedTexts(statement);
            before.removeIf([](const QString &t) { return t.size() == 8 && t.toLongLong() > 0; });
            const QString after = dialect->translate(statement);
            ASSERT_TRUE(isSubsequence(before, quotedTexts(after))) << statement << "\n => " << after;
        }
    }
}

} // namespace
} // namespace shop
