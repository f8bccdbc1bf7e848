#include "common/host/DefaultCommonGen.h"
#include "support/FuzzInput.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace shop {
namespace {

// Whatever keys a clerk presses in a quantity box, and wherever the cursor stands, the
// key filter leaves only a number the box can hold: digits, one point, no more
// decimals and characters than allowed.
TEST(KeyFilterFuzz, QuantityBoxesHoldOnlyNumbersOfTheirShape)
{
    DefaultCommonGen gen;
    test::FuzzInput input(0x5eed0004);
    const QString keys = QStringLiteral("0123456789..-+eE ,'a\b");
    for (int round = 0; round < 300; ++round) {
        QLineEdit box;
        const int maxLength = input.chance(50) ? 10 : 20;
        const int decimals = 2 + input.below(3);
        for (int k = 0; k < 40; ++k) {
            const QChar typed = keys.at(input.below(static_cast<int>(keys.size())));
            box.setCursorPosition(input.below(static_cast<int>(box.text().size()) + 1));
            int key = typed.unicode();
            gen.TextValidateNum(&box, key, maxLength, decimals);
            if (key == 0 || typed == QLatin1Char('\b'))
                continue;
            box.insert(QString(typed));
            ASSERT_TRUE(isAcceptableNumberText(box.text(), maxLength, decimals))
                << box.text().toStdString() << " after '" << QString(typed).toStdString() << "'";
        }
    }
}

} // namespace
} // namespace shop
