// The statements behind the printout, on both backends.
#include "PrintTestSupport.h"
#include "common/db/ConnectionInternals.h"

#include <rtnmod08/ModuleError.h>
#include "printing/PrintData.h"
#include "printing/TextPrintout.h"
#include "support/RecordingErrorTracker.h"
#include "support/ScriptedUi.h"

namespace shop::test {
namespace {

QStringList described(const std::vector<PrintLine> &lines)
{
    QStringList out;
    for (const PrintLine &l : lines)
        out << QString("%1|%2|%3|%4|%5|%6").arg(l.itemCode, l.description, l.unitCode).arg(l.before).arg(l.after).arg(l.itemRate);
    return out;
}

class PrintDataTest : public PrintTest {
protected:
    // Return 20 of shop 1 with detail rows (item, available, returned, cost price).
    void addReturn(const QList<QVariantList> &details)
    {
        con().execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, WhRemarks, "
                      "whcancelled, whposted, Whtransfinished, whtype) values (1, 20, 'PR20', '2026-12-01', 'nina', "
                      "'Mixed', 0, 0, 0, 'P')");
        for (const QVariantList &d : details)
            con().execute("insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdAvailableQty, "
                          "WdPurchaseReturnQty, wdshipmentid, wdcostprice) values (1, 20, ?, ?, ?, 1, ?)",
                          d);
    }
};

TEST_P(PrintDataTest, DetailRowsOfOneItemPrintAsOneLineAndTheSavedCostPriceWinsOverTheItemsRate)
{
    // PR1: rice twice (cost 6.50 and none), milk once (0.95).
    EXPECT_EQ(described(printdata::bodyLines(con(), 1, TransactionId(1), 1)),
              (QStringList{"MLK-1L|Fresh milk 1 L|LTR|40|4|0.95", "RICE-5|Long grain rice 5 kg|BAG|160|5|6.5"}));
    // No saved cost price on any row of an item: the item's own rate.
    addReturn({{6, "25", "2", QVariant()}, {10, "12", "1", 0.0}, {5, "80", "1", 0.0}, {5, "80", "1", 7.0}});
    EXPECT_EQ(described(printdata::bodyLines(con(), 1, TransactionId(20), 1)),
              (QStringList{"RICE-5|Long grain rice 5 kg|BAG|160|2|7", "SUG-1|White sugar 1 kg|KG|25|2|1.1",
                           "TEA-100|Breakfast tea 100 bags 'Highland'|PCS|12|1|2.75"}));
    // Another shop's return with the same id is not printed.
    EXPECT_TRUE(printdata::bodyLines(con(), 2, TransactionId(20), 1).empty());
    // An item without a unit keeps its line, with an empty unit.
    con().execute("update aItem set UnitsId = null where ItemId = 1");
    EXPECT_EQ(described(printdata::bodyLines(con(), 1, TransactionId(1), 1)).value(0), "MLK-1L|Fresh milk 1 L||40|4|0.95");
}

TEST_P(PrintDataTest, PrintInSavedOrderChoosesTheOrderOfTheLines)
{
    addReturn({{10, "12", "1", 2.75}, {6, "25", "2", 1.10}, {1, "40", "1", 0.95}});
    const auto codes = [&](double order) {
        QStringList out;
        for (const PrintLine &l : printdata::bodyLines(con(), 1, TransactionId(20), order))
            out << l.itemCode;
        return out;
    };
    EXPECT_EQ(codes(1), (QStringList{"MLK-1L", "SUG-1", "TEA-100"}));
    EXPECT_EQ(codes(2), (QStringList{"TEA-100", "MLK-1L", "SUG-1"}));
    for (const double natural : {0.0, 3.0}) {
        QStringList lines = codes(natural);
        lines.sort();
        EXPECT_EQ(lines, (QStringList{"MLK-1L", "SUG-1", "TEA-100"}));
    }
    EXPECT_EQ(printdata::orderClause(0), "");
    EXPECT_EQ(printdata::orderClause(7), "");
}

TEST_P(PrintDataTest, TheHeaderIsTheReturnsTheShopsAndTheSessionCompanys)
{
    con().execute("insert into acompanymaster (CompanyID, CurrencyID, name, Address1) values (2, 1, 'Other Traders', 'Far Away')");
    PrintHeader h = printdata::header(con(), 1, 1, TransactionId(1));
    EXPECT_TRUE(h.shopFound);
    EXPECT_EQ(QStringList({h.number, h.userName, h.remarks, h.shopName, h.telephone, h.companyName, h.companyAddress[2]}),
              QStringList({"PR1", "clerk", "Damaged packaging", "Harbour Market", "0100 200 301", "Harbour Traders Ltd",
                           "Isle of Islay"}));
    EXPECT_EQ(printdata::header(con(), 1, 2, TransactionId(1)).companyName, "Other Traders");

    con().execute("update ashops set cityid = 99 where ShopID = 1");
    EXPECT_FALSE(printdata::header(con(), 1, 1, TransactionId(1)).shopFound);
    EXPECT_THROW(printdata::header(con(), 1, 1, TransactionId(999)), ModuleError);
}

TEST_P(PrintDataTest, TheRevisedCostPercentIsTheShopsAndAMissingOneIsAnError)
{
    EXPECT_EQ(printdata::revisedCostPercent(1), 10);
    EXPECT_EQ(printdata::revisedCostPercent(2), 0);
    con().execute("update ashops set RevisedCostPricePercent = null where ShopID = 3");
    EXPECT_THROW(printdata::revisedCostPercent(3), ModuleError);
    EXPECT_THROW(printdata::revisedCostPercent(42), ModuleError);
}

TEST_P(PrintDataTest, FooterMessagesAreTheShopsPurchaseReturnOnesInTheirOrder)
{
    con().execute("insert into ashopprintmessages (shopid, transtype, messageid, allignment, message) "
                  "values (1, 'POSPO', 0, 'L', 'First of all')");
    QStringList texts;
    for (const FooterMessage &m : printdata::footerMessages(con(), 1))
        texts << m.alignment + ":" + m.message;
    EXPECT_EQ(texts, (QStringList{"L:First of all", "M:Thank you for your business",
                                  "L:Goods returned are subject to inspection", "R:E & O E"}));
    EXPECT_EQ(printdata::printingUser(con(), 1, 1), std::optional<QString>("clerk"));
    EXPECT_EQ(printdata::printingUser(con(), 2, 2), std::nullopt);
}

class TextPrintoutTest : public PrintDataTest {
protected:
    ScriptedUiScope ui;
    ErrorTrackerScope errors;
};

TEST_P(TextPrintoutTest, ABrokenHeaderOrFooterIsReportedUnderItsOwnNameAndThePrintoutGoesOn)
{
    ModuleFolderScope folder(shippedSettings({{"printadd2", "two"}}));
    TextPrintout printout(con(), 1, 1, 1);
    printout.readSettings(settingsFilePath());
    setStatementObserver(con(), [](const QString &, const QString &text) {
        if (text.contains("ashopprintmessages"))
            throw ModuleError(-2147217865, "db", "Invalid object name 'ashopprintmessages'.");
    });
    const QString text = QString::fromUtf8(printout.PrintBill(TransactionId(1)));
    setStatementObserver(con(), {});
    EXPECT_TRUE(errors.reports().empty()); // told once the work is done
    printout.reportTrappedErrors();
    EXPECT_EQ(errors.routines(), (QStringList{"HeaderPrint ", "FooterPrint"}));
    EXPECT_EQ(errors.reports()[0].moduleName, "FrmMaster");
    EXPECT_EQ(errors.reports()[1].number, 17865);
    EXPECT_FALSE(text.contains("Harbour Market"));
    EXPECT_TRUE(text.startsWith(QString(80, '-') + "\r\nSl.No Item Description"));
    EXPECT_TRUE(text.contains("Grand Total:"));
    EXPECT_TRUE(text.endsWith("39.93\r\n\r\n\r\n"));
}

TEST_P(TextPrintoutTest, AMissingWholeNumberKeyStopsThePrintoutAMissingRoundedOneCountsAsZero)
{
    ModuleFolderScope folder(shippedSettings({{"showcostintrans", QString()}}));
    TextPrintout printout(con(), 1, 1, 1);
    printout.readSettings(settingsFilePath());
    EXPECT_EQ(ui->messageTexts(), QStringList{"showcostintrans  invalid parameter in ShopSetting.txt file"});
    EXPECT_FALSE(QString::fromUtf8(printout.PrintBill(TransactionId(1))).contains("Cost Pr"));

    ui->clearRecords();
    folder.writeSettings(shippedSettings({{"Unit", QString()}}));
    EXPECT_THROW(printout.readSettings(settingsFilePath()), ModuleError);
    EXPECT_EQ(ui->messageTexts(), QStringList{"Unit  invalid parameter in ShopSetting.txt file"});
}

TEST_P(TextPrintoutTest, AReturnWithoutLinesNeitherReadsNorFaultsTheHeaderKeys)
{
    ModuleFolderScope folder(shippedSettings({{"headerleftmargin", QString()}, {"printadd2", "two"}}));
    addReturn({});
    TextPrintout printout(con(), 1, 1, 1);
    printout.readSettings(settingsFilePath());
    EXPECT_FALSE(printout.PrintBill(TransactionId(20)).isEmpty());
    printout.reportTrappedErrors();
    EXPECT_EQ(ui->messageTexts(), QStringList());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_P(TextPrintoutTest, ExtraLineZeroOrNotThePageBreaksWhereTheLengthSays)
{
    const auto printed = [&](const QString &extraLine) {
        ModuleFolderScope folder(shippedSettings({{"internalprintnoofrecords", "20"}, {"ExtraLine", extraLine}}));
        TextPrintout printout(con(), 1, 99, 1); // no user line: no clock
        printout.readSettings(settingsFilePath());
        return printout.PrintBill(TransactionId(1));
    };
    const QByteArray zero = printed("0");
    EXPECT_EQ(zero.count("\f\r\n"), 1) << zero.toStdString();
    EXPECT_EQ(printed("3"), zero);
}

SHOP_ON_ALL_BACKENDS(PrintDataTest);
SHOP_ON_ALL_BACKENDS(TextPrintoutTest);

} // namespace
} // namespace shop::test
