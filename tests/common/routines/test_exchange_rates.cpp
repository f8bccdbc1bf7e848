#include "common/host/ErrorReporting.h"
#include "common/host/ModuleState.h"
#include "common/routines/ExchangeRates.h"
#include <rtnmod08/ModuleError.h>
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace shop;

class ExchangeRatesOnDemo : public test::DemoTest {
protected:
    test::ModuleStateScope state{db.con};
    void SetUp() override { state.login(); }
};

TEST_P(ExchangeRatesOnDemo, EachCurrencyIsListedOnceAndAnUnknownPartyTypeIsReported)
{
    const Session session = moduleSession();
    const auto fnAddExchangeRate = [&](const QString &rates, const QString &type, qint32 id) {
        return shop::fnAddExchangeRate(*db.con, session, rates, type, id);
    };
    const auto fnGetCurrencyId = [&](const QString &type, qint32 id) {
        return shop::fnGetCurrencyId(*db.con, session, type, id);
    };
    QString rates = fnAddExchangeRate(QString(), "B", 0);
    EXPECT_EQ(rates, "1:-1:");
    rates = fnAddExchangeRate(rates, "z", 1);
    EXPECT_EQ(rates, "1:-1:") << "the company currency is the cash group's";
    rates = fnAddExchangeRate(rates, "V", 500);
    EXPECT_EQ(rates, "1:4:-1:3.75:");
    EXPECT_EQ(fnAddExchangeRate(rates, "V", 999), rates) << "an unknown vendor adds nothing";
    EXPECT_EQ(parseExchangeRates(rates).currencyIds, (QStringList{"1", "4"}));
    EXPECT_EQ(parseExchangeRates(rates).rates, (QStringList{"1", "3.75"}));
    EXPECT_EQ(fnAddExchangeRate("1:-1:", "D", 11), "1:4:-1:3.75:");

    EXPECT_EQ(fnGetCurrencyId("v", 500), 4);
    EXPECT_EQ(fnGetCurrencyId("D", 11), 4);
    EXPECT_EQ(fnGetCurrencyId("Z", 0), 1);
    EXPECT_EQ(fnGetCurrencyId("A", 999), 0);

    EXPECT_THROW(fnGetCurrencyId("C", 600), ModuleError) << "customers have no currency lookup";
    test::ScriptedUiScope ui;
    QString description;
    try {
        fnAddExchangeRate("1:-1:", "Q", 1);
    } catch (const ModuleError &e) {
        description = e.description();
        TrackCaughtError("frmStockDetails", "Form_Load ");
    }
    EXPECT_FALSE(description.isEmpty());
    EXPECT_EQ(ui->messageTexts(), QStringList{description});
}

SHOP_ON_ALL_BACKENDS(ExchangeRatesOnDemo);

TEST(ExchangeRates, ConversionFactorIsRateOfTargetOverRateOfSource)
{
    QString rates = "1:4:-1:3.75:";
    EXPECT_DOUBLE_EQ(fnConversionFactor(rates, 1, 4), 3.75);
    EXPECT_DOUBLE_EQ(fnConversionFactor(rates, 4, 1), 1 / 3.75);
    EXPECT_DOUBLE_EQ(fnConversionFactor(rates, 1, 9), 1.0);
    EXPECT_TRUE(fnCurrencyInList(rates, 4));
    EXPECT_FALSE(fnCurrencyInList(rates, 9));
    rates = "1:7:-1:0:";
    EXPECT_DOUBLE_EQ(fnConversionFactor(rates, 1, 7), 1.0);
    rates.clear();
    EXPECT_DOUBLE_EQ(fnConversionFactor(rates, 1, 4), 1.0);
    EXPECT_FALSE(fnCurrencyInList(rates, 1));
}
