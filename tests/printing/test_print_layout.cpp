// The printout's layout, byte for byte, without a database.
#include <rtnmod08/ModuleError.h>
#include "printing/PrintLayout.h"
#include "printing/PrinterEncoding.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace shop {
namespace {

inline std::ostream &operator<<(std::ostream &os, const QByteArray &bytes) { return os << bytes.toStdString(); }

QString sp(int n) { return QString(n, QLatin1Char(' ')); }

// The document's lines without their CR LF; fails when a line ends otherwise.
QStringList linesOf(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "a line without CR LF";
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n")) << "a CR without LF";
    EXPECT_TRUE(text.endsWith("\r\n"));
    QStringList lines = text.split("\r\n");
    lines.removeLast();
    return lines;
}

// W = 80, S = 5, Q = 10, U = 6, no code, no cost, no separators, no totals.
PrintSettings plain()
{
    PrintSettings s;
    s.pageLength = 66;
    s.pageWidth = 80;
    s.slNoWidth = 5;
    s.qtyWidth = 10;
    s.unitWidth = 6;
    s.rateWidth = 8;
    s.amountWidth = 10;
    return s;
}

PrintLine item(const QString &description, double before = 40, double after = 4, const QString &unit = "LTR",
               const QString &code = "MLK-1L", double rate = 0.95)
{
    return {code, description, unit, before, after, rate};
}

PrintDocument documentOf(std::vector<PrintLine> lines)
{
    PrintDocument d;
    d.lines = std::move(lines);
    d.printedAt = QDateTime(QDate(2026, 12, 6), QTime(9, 5, 3));
    return d;
}

PrintDocument::Header shopHeader()
{
    PrintDocument::Header h;
    h.settings.titleAbove = 2; // no title
    h.data.shopFound = true;
    h.data.number = "PR1";
    h.data.date = QDate(2026, 12, 3);
    h.data.userName = "clerk";
    h.data.remarks = "Damaged\r\npackaging";
    h.data.shopName = "Harbour Market";
    h.data.shopAddress = "14 Quay Street\r\nPort Ellen";
    h.data.telephone = "0100 200 301";
    h.data.fax = "0100 200 309";
    h.data.companyName = "Harbour Traders Ltd";
    h.data.companyAddress[0] = "14 Quay Street";
    h.data.companyAddress[1] = "Port Ellen";
    h.data.companyAddress[2] = "Isle of Islay";
    return h;
}

const QString Heading80 = "Sl.No Item Description" + sp(32) + " Before PR Return Qty  Unit";

TEST(PrintLayout, EightyColumnLinesCutTheDescriptionNeverTheUnitAndEndEveryLineWithCrLf)
{
    const QString longDescription = "Breakfast tea 100 bags 'Highland' in the family-size tin";
    const QByteArray bytes =
        layoutPrintout(documentOf({item("Fresh milk 1 L"), item(longDescription, 12, 1.5, "CARTON")}), plain());
    const QStringList lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], Heading80); // "Return Qty" is wider than its 9 places and is not cut
    EXPECT_EQ(lines[1], "    1 Fresh milk 1 L" + sp(34) + "    40.000     4.000   LTR"); // 80 wide
    // 48 characters of the description; the unit, one too wide, pushes the line to 81.
    EXPECT_EQ(lines[2], "    2 " + longDescription.left(48) + "    12.000     1.500 CARTON");
    // The footer of a shop without messages, for a user who is not found: two empty lines.
    EXPECT_EQ(lines.mid(3), QStringList({"", ""}));
}

TEST(PrintLayout, SeparatorsFollowTheSpacingAndAreEmptyWhenTheyCannotHoldTwoDashes)
{
    EXPECT_EQ(separatorLine(80, 0), QString(80, '-'));
    const QString spaced = separatorLine(80, 1);
    EXPECT_EQ(spaced, QStringList(40, "-").join(' ')); // 79 wide
    EXPECT_EQ(separatorLine(80, 2), QStringList(QVector<QString>(27, "-").toList()).join("  ")); // 80 / 3 rounds to 27
    EXPECT_EQ(separatorLine(1, 0), "");
    EXPECT_EQ(separatorLine(3, 2), ""); // one dash is no line
    EXPECT_THROW(separatorLine(80, -1), ModuleError);

    PrintSettings s = plain();
    s.headerTopLine = s.headerBottomLine = s.detailBottomLine = 1;
    s.spaceInLine = 1;
    const QStringList lines = linesOf(layoutPrintout(documentOf({item("Fresh milk 1 L")}), s));
    EXPECT_EQ(lines.mid(0, 5), QStringList({spaced, Heading80, spaced, lines[3], spaced}));
}

TEST(PrintLayout, ItemCodesAreCutToTheirColumnAndCode2OnlyNarrowsTheDescription)
{
    PrintSettings s = plain();
    s.showItemCode = 1;
    QStringList lines = linesOf(layoutPrintout(documentOf({item("Fresh milk 1 L", 40, 4, "LTR", "MLK-1L-GLEN-DAIRY")}), s));
    EXPECT_EQ(lines[0], "Sl.No Item Code      Item Description" + sp(17) + " Before PR Return Qty  Unit");
    EXPECT_EQ(lines[1], "    1 MLK-1L-GLEN-DA Fresh milk 1 L" + sp(19) + "    40.000     4.000   LTR"); // 80 wide

    s.showItemCode = 2;
    lines = linesOf(layoutPrintout(documentOf({item("Fresh milk 1 L", 40, 4, "LTR", "MLK-1L-GLEN-DAIRY")}), s));
    EXPECT_EQ(lines[0], "Sl.No Item Description" + sp(17) + " Before PR Return Qty  Unit");
    EXPECT_EQ(lines[1], "    1 Fresh milk 1 L" + sp(19) + "    40.000     4.000   LTR"); // 65 wide
}

// The first line of a header with the title above it.
QString titleLineFor(int width)
{
    PrintSettings s = plain();
    s.pageWidth = width;
    PrintDocument d = documentOf({item("Fresh milk 1 L")});
    d.header = shopHeader();
    d.header->settings.titleAbove = 1;
    return linesOf(layoutPrintout(d, s)).value(0);
}

TEST(PrintLayout, TheCentredTitleStartsInColumn28ForWidths80And81AndInColumn1WhenThePageIsTooNarrow)
{
    const QString title = "Purchase Return For Shop";
    EXPECT_EQ(titleLineFor(80), sp(27) + title + sp(29));
    EXPECT_EQ(titleLineFor(81), sp(27) + title + sp(30));
    EXPECT_EQ(titleLineFor(27), sp(1) + title + sp(2)); // 1.5 rounds to 2
    EXPECT_EQ(titleLineFor(26), title + sp(2));
    // Below 26 the start would fall before column 1: the title starts there, whole.
    EXPECT_EQ(titleLineFor(25), title + sp(1));
    EXPECT_EQ(titleLineFor(0), title);
}

TEST(PrintLayout, TheHeaderBlocksFillThePageWidthAndCarryThePrinterCodesBeforeTheCompany)
{
    PrintDocument d = documentOf({item("Fresh milk 1 L")});
    d.header = shopHeader();
    HeaderSettings &h = d.header->settings;
    h.leftMargin = 2;
    h.titleAbove = 0;
    h.linesToSkipFirst = 1;
    h.linesAfterAddress = 1;
    h.printCompanyName = 1;
    h.printAddress[0] = 1;
    h.printAddress[2] = 1;
    const QStringList lines = linesOf(layoutPrintout(d, plain()));
    const QStringList expected = {
        "",
        "\x0e\x0f  Harbour Traders Ltd",
        "  14 Quay Street",
        "  Isle of Islay",
        "  Harbour Market",
        "  14 Quay Street Port Ellen" + sp(13) + "Purchase Return No     :             PR1",
        "",
        "  Tel:0100 200 301  Fax: 0100 200 309" + sp(3) + "Purchase Return Date   :      03/12/2026",
        "",
        "  User Name :clerk",
        "  Remarks   :Damagedpackaging",
        sp(56) + "Purchase Return For Shop",
        "",
        Heading80,
    };
    EXPECT_EQ(lines.mid(0, expected.size()), expected); // the blocks beside the return's number and date: 80 wide

    // A bare line feed in the address: a line of its own, ended with CR LF.
    d.header->data.shopAddress = "14 Quay Street\nPort Ellen";
    const QStringList split = linesOf(layoutPrintout(d, plain()));
    EXPECT_EQ(split.mid(5, 3), (QStringList{"  14 Quay Street" + sp(24) + "Purchase Return No     :             PR1",
                                            "  Port Ellen", ""}));
}

// A printer gets one byte per character, so that the columns counted stay columns on paper.
TEST(PrinterEncoding, EachCharacterIsOneByteOfTheCodePageAndOneItLacksIsAQuestionMark)
{
    const QString line = "    1 " + QString("Cr\u00e8me fra\u00eeche 200 g \u20ac \U0001F600").leftJustified(74) + "\r\n";
    const QByteArray cp1252 = printerBytes(line.toUtf8(), "WINDOWS-1252");
    EXPECT_EQ(cp1252.size(), 82);
    EXPECT_TRUE(cp1252.startsWith("    1 Cr\xe8me fra\xee" "che 200 g \x80 ??   ")) << cp1252.toStdString();
    const QByteArray cp437 = printerBytes(line.toUtf8(), "IBM437");
    EXPECT_TRUE(cp437.startsWith("    1 Cr\x8a" "me fra\x8c" "che 200 g ? ??   ")) << cp437.toStdString();
    EXPECT_EQ(cp437.size(), 82);
    EXPECT_EQ(printerBytes("\f\x0e\x0f" "A\r\n", "WINDOWS-1252"), QByteArray("\f\x0e\x0f" "A\r\n"));
    EXPECT_THROW(printerBytes("A", "NO-SUCH-PAGE"), ModuleError);
    EXPECT_THROW(printerBytes("A", "UTF-16"), ModuleError);
}

TEST(PrintLayout, TotalHeadCountStopsALongHeaderAndPadsAShortOneButNeverLoops)
{
    PrintDocument d = documentOf({item("Fresh milk 1 L")});
    d.header = shopHeader();
    HeaderSettings &h = d.header->settings;
    h.totalHeadCount = 8;
    h.titleAbove = 1;
    h.printCompanyName = 1;
    h.printAddress[0] = h.printAddress[1] = 1;
    QStringList lines = linesOf(layoutPrintout(d, plain()));
    // title, company, two address lines, shop, its address, telephone, empty: eight.
    EXPECT_TRUE(lines[6].contains("Tel:0100 200 301"));
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], Heading80);

    h = HeaderSettings();
    h.titleAbove = 2;
    h.totalHeadCount = 8;
    h.linesAfterHeader = 1;
    lines = linesOf(layoutPrintout(d, plain()));
    // shop, address, telephone, empty, user, remarks, empty: seven, padded to eight.
    EXPECT_EQ(lines[5], "Remarks   :Damagedpackaging");
    EXPECT_EQ(lines.mid(6, 3), QStringList({"", "", Heading80}));

    // A count the header has already passed pads nothing (and does not print for ever).
    h.totalHeadCount = 0;
    lines = linesOf(layoutPrintout(d, plain()));
    EXPECT_EQ(lines.mid(6, 2), QStringList({"", Heading80}));
    h.totalHeadCount = 3;
    lines = linesOf(layoutPrintout(d, plain()));
    EXPECT_EQ(lines[3], Heading80);
}

std::vector<PrintLine> tenLines()
{
    std::vector<PrintLine> lines;
    for (int i = 0; i < 10; ++i)
        lines.push_back(item("Fresh milk 1 L", 1, 0.5));
    return lines;
}

QString itemLine(int n) { return QString("%1 Fresh milk 1 L").arg(n, 5) + sp(34) + "     1.000     0.500   LTR"; }

TEST(PrintLayout, TenLinesBreakAfterTheNinthOnATwelveRowPageAndStayTogetherOnFourteen)
{
    PrintSettings s = plain();
    s.showTotalQty = 1; // E = 2
    const QString totals = sp(40) + "Grand Total:      10.000     5.000";
    for (const int breakAfter : {9, 0}) {
        s.pageLength = breakAfter ? 13 : 15; // P = 12 or 14 without header or separators
        QStringList expected{Heading80};
        for (int n = 1; n <= 10; ++n)
            expected << itemLine(n) << (n == breakAfter ? QStringList{"\f", Heading80} : QStringList());
        expected << totals << "" << "" << "";
        EXPECT_EQ(linesOf(layoutPrintout(documentOf(tenLines()), s)), expected) << s.pageLength;
    }
}

TEST(PrintLayout, AFooterOnEveryPageComesBeforeTheFormFeed)
{
    PrintSettings s = plain();
    s.pageLength = 6; // P = 5, less the footer's 2 on the first page: 3 rows a page
    s.footerOnEachPage = 1;
    s.detailBottomLine = 0;
    PrintDocument d = documentOf({item("A"), item("B"), item("C"), item("D")});
    d.footer.messages = {{"Thanks", "L"}};
    const QStringList lines = linesOf(layoutPrintout(d, s));
    const QStringList footer{"", "Thanks", ""};
    const int feed = static_cast<int>(lines.indexOf("\f"));
    ASSERT_EQ(feed, 7);
    EXPECT_EQ(lines.mid(4, 3), footer);
    EXPECT_EQ(lines.mid(8, 2), QStringList({Heading80, lines[9]}));
    EXPECT_TRUE(lines[9].startsWith("    4 D"));
    EXPECT_EQ(lines.mid(10), footer);
}

TEST(PrintLayout, FooterMessagesAlignAnROneLongerThanThePageIsNotPaddedAndTheUserLineIsCentred)
{
    PrintDocument d = documentOf({item("Fresh milk 1 L")});
    const QString longer(90, 'x');
    d.footer.messages = {{"Left", "L"}, {"E & O E", "R"}, {longer, "R"}, {"Thank you", "M"}, {"Unaligned", "X"}};
    d.footer.userName = "clerk";
    const QStringList lines = linesOf(layoutPrintout(d, plain()));
    EXPECT_EQ(lines.mid(2), QStringList({"", "Left", sp(73) + "E & O E", longer, sp(36) + "Thank you", "", "",
                                          sp(26) + "clerk - 06/12/2026 - 09:05:03"}));
}

PrintSettings withCost()
{
    PrintSettings s = plain();
    s.showCost = 1; // D = 80 - 5 - 20 - 6 - 8 - 10 = 31
    return s;
}

const QString CostHeading = "Sl.No Item Description" + sp(14) + " Before PR Return Qty  Unit Cost Pr Total Cost";

TEST(PrintLayout, CostsAreRaisedByThePercentageShownRoundedAndTotalledUnrounded)
{
    PrintSettings s = withCost();
    s.showTotalQty = 1;
    PrintDocument d = documentOf({item("Rice", 80, 3, "BAG", "R", 5.00), item("Salt", 1, 1, "PCS", "S", 0.125),
                                  item("Salt", 1, 1, "PCS", "S", 0.125), item("Salt", 1, 1, "PCS", "S", 0.125)});
    d.revisedCostPercent = 10;
    QStringList lines = linesOf(layoutPrintout(d, s));
    EXPECT_EQ(lines[0], CostHeading); // two captions wider than their columns push it to 82
    EXPECT_EQ(lines[1], "    1 Rice" + sp(26) + "    80.000     3.000   BAG    5.50     16.50"); // 80 wide
    EXPECT_EQ(lines[2], "    2 Salt" + sp(26) + "     1.000     1.000   PCS    0.14      0.14");
    // 16.5 + 3 x 0.1375 = 16.9125, not the 16.92 of the rounded lines.
    EXPECT_EQ(lines[5], sp(22) + "Grand Total:      83.000     6.000" + sp(19) + "16.91"); // 80 wide

    s.showTotalQty = 0;
    d.revisedCostPercent = 0;
    lines = linesOf(layoutPrintout(documentOf({item("Rice", 80, 3, "BAG", "R", 5.00)}), s));
    EXPECT_EQ(lines[1], "    1 Rice" + sp(26) + "    80.000     3.000   BAG    5.00     15.00");
    EXPECT_EQ(lines[2], sp(61) + "Grand Total : 15.00");
    EXPECT_EQ(lines[3], "");
}

TEST(PrintLayout, ATotalWiderThanItsColumnIsPrintedWholeAndKeepsASpaceFromItsNeighbour)
{
    PrintSettings s = withCost();
    s.showTotalQty = 1;
    s.qtyWidth = 8; // D = 35
    PrintDocument d = documentOf({item("Gravel", 123456, 654321, "T", "G", 1000)});
    const QStringList lines = linesOf(layoutPrintout(d, s));
    // Each total fills or passes its column; none runs into the one before it.
    EXPECT_EQ(lines[2], sp(26) + "Grand Total:   123456.000 654321.000" + sp(12) + "654321000.00");
}

TEST(PrintLayout, AnEmptyReturnPrintsNoHeaderButItsSeparatorZeroTotalsAndFooter)
{
    PrintSettings s = withCost();
    s.showTotalQty = 1;
    s.detailBottomLine = 1;
    PrintDocument d = documentOf({});
    d.header = shopHeader();
    const QStringList lines = linesOf(layoutPrintout(d, s));
    EXPECT_EQ(lines, QStringList({QString(80, '-'), sp(22) + "Grand Total:       0.000     0.000" + sp(20) + "0.00", "",
                                  "", ""}));
}

TEST(PrintLayout, AHeaderThatCouldNotBeMadeOrAShopThatIsNotFoundPrintsNoHeaderLines)
{
    PrintDocument d = documentOf({item("Fresh milk 1 L")});
    EXPECT_EQ(linesOf(layoutPrintout(d, plain()))[0], Heading80);
    d.header = shopHeader();
    d.header->data.shopFound = false;
    EXPECT_EQ(linesOf(layoutPrintout(d, plain()))[0], Heading80);
    // Footer messages that could not be read: the footer stops after its first line.
    d.footer.messagesRead = false;
    d.footer.userName = "clerk";
    EXPECT_EQ(linesOf(layoutPrintout(d, plain())).mid(2), QStringList({""}));
}

} // namespace
} // namespace shop
