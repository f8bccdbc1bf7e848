#include "common/ErrorReporting.h"
#include "common/ExchangeRates.h"
#include "common/ModuleError.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;
using shop::test::TestDatabase;

class ExchangeRatesOnDemo : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    test::ModuleStateScope state{db.con};
    void SetUp() override { state->gintCompanyID = 1; }
};

TEST_P(ExchangeRatesOnDemo, EachCurrencyIsListedOnceWithItsRate)
{
    QString rates = fnAddExchangeRate(QString(), QStringLiteral("B"), 0);
    EXPECT_EQ(rates, QStringLiteral("1:-1:"));
    rates = fnAddExchangeRate(rates, QStringLiteral("z"), 1);
    EXPECT_EQ(rates, QStringLiteral("1:-1:")) << "the company currency is the cash group's";
    rates = fnAddExchangeRate(rates, QStringLiteral("V"), 500);
    EXPECT_EQ(rates, QStringLiteral("1:4:-1:3.75:"));
    EXPECT_EQ(fnAddExchangeRate(rates, QStringLiteral("V"), 999), rates) << "an unknown vendor adds nothing";
    EXPECT_EQ(state->gCurrencyIds, (QStringList{QStringLiteral("1"), QStringLiteral("4")}));
    EXPECT_EQ(state->gRates, (QStringList{QStringLiteral("1"), QStringLiteral("3.75")}));
    EXPECT_EQ(fnAddExchangeRate(QStringLiteral("1:-1:"), QStringLiteral("D"), 11), QStringLiteral("1:4:-1:3.75:"));
}

TEST_P(ExchangeRatesOnDemo, CurrencyOfEachKindOfParty)
{
    EXPECT_EQ(fnGetCurrencyId(QStringLiteral("v"), 500), 4);
    EXPECT_EQ(fnGetCurrencyId(QStringLiteral("D"), 11), 4);
    EXPECT_EQ(fnGetCurrencyId(QStringLiteral("Z"), 0), 1);
    EXPECT_EQ(fnGetCurrencyId(QStringLiteral("A"), 999), 0);
}

TEST_P(ExchangeRatesOnDemo, UnknownPartyTypeFailsInTheCallerAndIsReported)
{
    EXPECT_THROW(fnAddExchangeRate(QString(), QStringLiteral("Q"), 1), ModuleError);
    EXPECT_THROW(fnGetCurrencyId(QStringLiteral("C"), 600), ModuleError) << "customers have no currency lookup";
    test::ScriptedUiScope ui;
    try {
        fnAddExchangeRate(QStringLiteral("1:-1:"), QStringLiteral("Q"), 1);
    } catch (...) {
        TrackCaughtError(QStringLiteral("frmStockDetails"), QStringLiteral("Form_Load "));
    }
    EXPECT_EQ(ui->messages().size(), 1u);
}

SHOP_ON_ALL_BACKENDS(ExchangeRatesOnDemo);

TEST(ExchangeRates, ConversionFactorIsRateOfTargetOverRateOfSource)
{
    test::ModuleStateScope state;
    state->gstrExchangeRates = QStringLiteral("1:4:-1:3.75:");
    EXPECT_DOUBLE_EQ(fnConversionFactor(1, 4), 3.75);
    EXPECT_DOUBLE_EQ(fnConversionFactor(4, 1), 1 / 3.75);
    EXPECT_DOUBLE_EQ(fnConversionFactor(1, 9), 1.0);
    EXPECT_TRUE(fnCurrencyInList(4));
    EXPECT_FALSE(fnCurrencyInList(9));
    state->gstrExchangeRates = QStringLiteral("1:7:-1:0:");
    EXPECT_DOUBLE_EQ(fnConversionFactor(1, 7), 1.0);
    state->gstrExchangeRates.clear();
    EXPECT_DOUBLE_EQ(fnConversionFactor(1, 4), 1.0);
    EXPECT_FALSE(fnCurrencyInList(1));
}
