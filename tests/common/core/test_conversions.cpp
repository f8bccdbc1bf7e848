#include "common/core/Conversions.h"
#include "common/core/Decimal.h"
#include "support/ModuleErrors.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace shop;
using shop::test::errorNumberOf;

TEST(Conversions, LeadingNumberOfCellText)
{
    const struct {
        const char *text;
        double value;
        qint64 thousandths;
    } cases[] = {
        {"12abc", 12, 12000},   {"abc", 0, 0},          {" 3.5", 3.5, 3500},     {"-2.5x", -2.5, -2500},
        {"", 0, 0},             {"-", 0, 0},            {".5", 0.5, 500},        {"1.2.3", 1.2, 1200},
        {"1,234.5", 1, 1000},   {"2e3", 2000, 2000000}, {"0.1239", 0.1239, 124}, {"12 34", 12, 12000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(val(QString::fromLatin1(c.text)), c.value);
        EXPECT_EQ(valDecimal(QString::fromLatin1(c.text)).thousandths(), c.thousandths);
    }
    EXPECT_EQ(valDecimal("0.1") + valDecimal("0.2"), valDecimal("0.3"));
}

TEST(Conversions, WholeNumbersRoundHalfToEvenAndReportOverflow)
{
    const struct {
        QVariant value;
        qint32 expected;
    } fits[] = {
        {QVariant(2.5), 2},   {QVariant(3.5), 4},     {QVariant(-3.5), -4},         {QVariant("2.5"), 2},
        {QVariant(" 17 "), 17}, {QVariant(32767), 32767}, {QVariant(-32768), -32768}, {QVariant("1e3"), 1000},
    };
    for (const auto &c : fits) {
        SCOPED_TRACE(c.value.toString().toStdString());
        EXPECT_EQ(toInt16(c.value), c.expected);
        EXPECT_EQ(toInt32(c.value), c.expected);
    }
    EXPECT_EQ(toInt16(Decimal::fromThousandths(2500)), 2);
    EXPECT_EQ(toInt16(Decimal::fromThousandths(-3500)), -4);

    const struct {
        QVariant value;
        long long int16Error;
        long long int32Error;
    } failures[] = {
        {QVariant(32768), ModuleError::Overflow, 0},
        {QVariant(qint64(2147483648LL)), ModuleError::Overflow, ModuleError::Overflow},
        {QVariant(2147483647.5), ModuleError::Overflow, ModuleError::Overflow},
        {QVariant("12abc"), ModuleError::TypeMismatch, ModuleError::TypeMismatch},
        {QVariant(""), ModuleError::TypeMismatch, ModuleError::TypeMismatch},
        {QVariant(), ModuleError::InvalidUseOfNull, ModuleError::InvalidUseOfNull},
        {QVariant(QMetaType::fromType<int>()), ModuleError::InvalidUseOfNull, ModuleError::InvalidUseOfNull},
    };
    for (const auto &c : failures) {
        SCOPED_TRACE(c.value.toString().toStdString());
        EXPECT_EQ(errorNumberOf([&] { toInt16(c.value); }), c.int16Error);
        EXPECT_EQ(errorNumberOf([&] { toInt32(c.value); }), c.int32Error);
    }
    EXPECT_EQ(errorNumberOf([] { toInt16(Decimal::fromInt(40000)); }), ModuleError::Overflow);
}

TEST(Conversions, DatabaseFlagsDatesAndCells)
{
    const struct {
        QVariant value;
        bool expected;
    } cases[] = {{QVariant(QMetaType::fromType<int>()), false}, {QVariant(""), false}, {QVariant(0), false},
                 {QVariant("0"), false}, {QVariant(-1), true}, {QVariant("1"), true}, {QVariant("True"), true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        EXPECT_EQ(toBool(c.value), c.expected);
    }
    EXPECT_EQ(errorNumberOf([] { toBool(QVariant("yes")); }), ModuleError::TypeMismatch);

    const QDate d(2026, 11, 30);
    EXPECT_EQ(storageDate(d), "2026-11-30");
    EXPECT_EQ(displayDate(d), "30/11/2026");

    const struct {
        const char *text;
        QDate expected;
    } parsed[] = {
        {"30/11/2026", d}, {"2026-11-30", d}, {" 2026-11-30 ", d}, {"2026-11-30 14:05:00", d},
        {"1/2/2027", QDate(2027, 2, 1)}, {"31/02/2026", QDate()}, {"yesterday", QDate()}, {"20261130", QDate()},
    };
    for (const auto &c : parsed) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDate(QString::fromLatin1(c.text)), c.expected);
    }

    const struct {
        QVariant value;
        const char *text;
    } cells[] = {
        {QVariant(QMetaType::fromType<QString>()), ""}, {QVariant("  PR17 "), "PR17"}, {QVariant(d), "30/11/2026"},
        {QVariant("2026-11-30"), "30/11/2026"},         {QVariant(1234567.25), "1234567.25"},
        {QVariant(QDateTime(d, QTime(14, 5, 7))), "30/11/2026 14:05:07"},
    };
    for (const auto &c : cells) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(cellText(c.value), QString::fromLatin1(c.text));
    }
}

TEST(Conversions, DisplayFormats)
{
    const struct {
        const char *number;
        QString pattern;
        const char *expected;
    } cases[] = {
        {"1234.5678", fmt::Quantity, "1234.568"}, {"-0.0004", fmt::Quantity, "0.000"}, {"0.0005", fmt::Stock, "0.001"},
        {"-2.0005", fmt::Stock, "-2.001"},        {"7", fmt::Fixed3, "7.000"},         {".25", fmt::Fixed3, "0.250"},
        {"999.9999", fmt::Grouped3, "1,000.000"}, {"-1234", fmt::Grouped3, "-1,234.000"}, {"2.345", fmt::Amount2, "2.35"},
        {"1234567.891", fmt::Grouped3, "1,234,567.891"},
        {"1234.5", "###,###,##0.000#####", "1,234.500"}, {"0.12345678", "###,###,##0.000#####", "0.12345678"},
        {"0.5", "#.00", ".50"},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.number);
        SCOPED_TRACE(std::string(c.number) + " " + c.pattern.toStdString());
        EXPECT_EQ(formatNumber(text, c.pattern), QString::fromLatin1(c.expected));
        EXPECT_EQ(formatNumber(text.toDouble(), c.pattern), QString::fromLatin1(c.expected));
    }
    EXPECT_EQ(formatNumber(Decimal::fromThousandths(1234567), fmt::Grouped3), "1,234.567");
    EXPECT_EQ(formatNumber(0.1 + 0.2, fmt::Fixed3), "0.300");
    EXPECT_EQ(formatNumber(QStringLiteral("n/a"), fmt::Fixed3), "n/a");
    EXPECT_EQ(formatValue(QVariant(), fmt::Fixed3), "");
    EXPECT_EQ(formatValue(QVariant("3.1000"), fmt::Quantity), "3.100");
}


// Plain ASCII numbers are read by hand, other text by the pattern; both read alike.
TEST(Conversions, DecimalTextIsReadAlikeWhateverItsCharacters)
{
    EXPECT_EQ(roundDecimalText(" \t-1.2345\r\n", 3), "-1.235");
    EXPECT_EQ(roundDecimalText("+.5", 0), "1");
    EXPECT_EQ(roundDecimalText("7.", 2), "7.00");
    EXPECT_EQ(roundDecimalText("-0.0004", 3), "0.000") << "no sign on a zero";
    EXPECT_EQ(roundDecimalText("0099.9996", 3), "100.000");
    for (const char *refused : {"", " ", ".", "-", "+-1", "1.2.3", "1e3", "12 3", "1,5", "--1"})
        EXPECT_TRUE(roundDecimalText(refused, 3).isEmpty()) << refused;
    // Text beyond ASCII takes the pattern's reading, which counts no-break space as no blank.
    EXPECT_TRUE(roundDecimalText(QString::fromUtf8("\u00a012.5"), 1).isEmpty());
    EXPECT_TRUE(roundDecimalText(QString::fromUtf8("12\u00b75"), 1).isEmpty());
    EXPECT_EQ(Decimal::parse(" 40.0005 ")->toString(3), "40.001");
}
