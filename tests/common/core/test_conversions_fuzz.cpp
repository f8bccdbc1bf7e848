#include "common/core/Conversions.h"
#include "common/core/Decimal.h"
#include <rtnmod08/ModuleError.h>
#include "support/FuzzInput.h"
#include "support/TestDatabase.h"

#include <cmath>
#include <gtest/gtest.h>

namespace shop {
namespace {

// Cells and boxes hold whatever a clerk typed or pasted. The leading-number reading
// never fails (an exact quantity too large to hold is refused), and the whole-number conversions either give the rounded number in
// their range or raise one of their three errors: never a wrapped or made-up value.
TEST(ConversionsFuzz, ReadingNumbersFromAnyTextNeverWrapsOrCrashes)
{
    test::FuzzInput input(0x5eed0001);
    const QStringList shaped{"0", "1", "12", "32767", "32768", "-32768", "-32769", "65537", "2147483647",
                             "2147483648", "-2147483649", ".5", "2.5", "3.5", "-2.5", "1e3", "1E-2", " ", "abc",
                             "12abc", ".", "-", "+"};
    int checked = 0;
    for (int i = 0; i < 5000; ++i) {
        const QString text = input.mixed(shaped, 1 + input.below(4));
        const double leading = val(text);
        ASSERT_FALSE(std::isnan(leading)) << text;
        try {
            (void)valDecimal(text);
        } catch (const ModuleError &e) {
            // A quantity beyond what three decimals in 64 bits hold is refused, never wrapped.
            ASSERT_EQ(e.number(), ModuleError::Overflow) << text;
            ASSERT_GT(std::fabs(leading), 9e15) << text;
        }
        for (int bits : {16, 32}) {
            const double limit = bits == 16 ? 32767.0 : 2147483647.0;
            try {
                const double got = bits == 16 ? toInt16(QVariant(text)) : toInt32(QVariant(text));
                // A value came back: the text was a number as a whole, rounded half to even.
                ASSERT_LE(std::fabs(got), limit + 1) << text;
                ASSERT_EQ(got, roundHalfEven(text.trimmed().toDouble())) << text;
                ++checked;
            } catch (const ModuleError &e) {
                ASSERT_TRUE(e.number() == ModuleError::Overflow || e.number() == ModuleError::TypeMismatch) << text;
            }
        }
    }
    EXPECT_GT(checked, 100) << "the generator reaches numbers that convert";
}

// A pattern read once formats a double exactly as rounding its shortest text by the
// pattern does: halves (as the shortest text shows them) away from zero, carries into
// the whole part, no sign on a zero, grouping and leading zeros as the pattern says.
// Exact quantities are read and written with integer arithmetic; the text rounding
// they replace is the reference, for any text and any number of decimals.
TEST(ConversionsFuzz, ExactDecimalsReadAndWriteAsTheTextRoundingDoes)
{
    test::FuzzInput input(0x5eed0003);
    const QStringList pieces{"0", "9", "12", ".", "5", "4", "-", "+", " ", "0005", "49", "50", "1.2345", "-0.0005",
                             "9223372036854775", "9223372036854776", "99999999999999999999", "\t", "x", "\u0663"};
    for (int i = 0; i < 20000; ++i) {
        QString text;
        for (int n = 1 + input.below(4); n > 0; --n)
            text += input.pick(pieces);
        const QString rounded = roundDecimalText(text, 3);
        bool ok = !rounded.isEmpty();
        const qint64 units = ok ? QString(rounded).remove(QLatin1Char('.')).toLongLong(&ok) : 0;
        const std::optional<Decimal> read = Decimal::parse(text);
        ASSERT_EQ(read.has_value(), ok) << text;
        if (!ok)
            continue;
        ASSERT_EQ(read->thousandths(), units) << text;
        const QString written = QStringLiteral("%1%2.%3")
                                    .arg(units < 0 ? "-" : "")
                                    .arg(std::abs(units / 1000))
                                    .arg(std::abs(units % 1000), 3, 10, QLatin1Char('0'));
        for (int decimals = 0; decimals <= 5; ++decimals)
            ASSERT_EQ(read->toString(decimals), roundDecimalText(written, decimals)) << text << " at " << decimals;
    }
}

TEST(ConversionsFuzz, APatternReadOnceFormatsEveryDoubleAsItsShortestTextRounded)
{
    const QStringList patterns{fmt::Quantity, fmt::Stock, fmt::Fixed3, fmt::Grouped3, fmt::Amount2, "#.000",
                               "###,###,##0.000#####", "0", "#", "00.0"};
    std::vector<double> values{0.0, -0.0, 0.5, -0.5, 2.675, 1.005, 0.0005, -0.0004, 999.9995, 9.995, 1e15 + 0.5,
                               123456789.125, -1234.5, 1e-7, 1e300, 0.1 + 0.2};
    test::FuzzInput input(0x5eed0002);
    for (int i = 0; i < 3000; ++i) {
        // Magnitudes from thousandths to billions, some with many decimals, some exact halves.
        const double scale = std::pow(10.0, static_cast<double>(input.below(13)) - 4);
        const double v = (static_cast<double>(input.below(2000000)) - 1000000.0) / 1000.0 * scale;
        values.push_back(input.below(4) == 0 ? std::round(v * 1000.0) / 1000.0 + 0.0005 : v);
    }
    for (const QString &pattern : patterns) {
        const NumberFormat format(pattern);
        for (const double v : values)
            ASSERT_EQ(format(v), formatNumber(QString::number(v, 'f', QLocale::FloatingPointShortest), pattern))
                << pattern.toStdString() << " " << QString::number(v, 'g', 17).toStdString();
    }
}

} // namespace
} // namespace shop
