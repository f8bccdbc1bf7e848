#include "common/core/Conversions.h"
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

} // namespace
} // namespace shop
