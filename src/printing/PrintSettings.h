#pragma once

#include <QString>

namespace shop {

// The shop's print settings for the plain-text printout, as read from its settings
// file at every printout. Every key must be present: there are no built-in defaults.
// Whole-number keys stop the reading with an error when missing or not a number;
// rounded-number keys count a missing value as 0.
struct PrintSettings {
    QString port;                    // printer device, file, or print queue; kept as written
    int pageLength = 0;              // internalprintnoofrecords
    int pageWidth = 0;               // W
    int slNoWidth = 0;               // S
    int qtyWidth = 0;                // Q, each of the two quantity columns
    int unitWidth = 0;               // U
    int rateWidth = 0;               // R
    int amountWidth = 0;             // A
    int headerTopLine = 0;           // printheadertopline
    int headerBottomLine = 0;        // printheaderbottomline
    int detailBottomLine = 0;        // printdetailbottomline
    double spaceInLine = 0;          // spaceinlinecode
    double footerOnEachPage = 0;     // printfooterineachpage
    double showCost = 0;             // showcostintrans
    double showItemCode = 0;         // showitemcodeinprint
    double savedOrder = 0;           // printinsavedorder
    double showTotalQty = 0;         // showtotalqty
    QString printEncoding;           // printencoding, optional: the printer's single-byte code page
};

// The keys read by the header, in the order it reads them.
struct HeaderSettings {
    int leftMargin = 0;              // headerleftmargin, M
    int linesAfterHeader = 0;        // linesafterheader
    int linesAfterAddress = 0;       // linesafteraddress
    double totalHeadCount = 0;       // totalheadcount
    double titleAbove = 0;           // printtransnameabove
    int linesToSkipFirst = 0;        // linetoskipfirst
    int printCompanyName = 0;        // PrintCompanyName
    int printAddress[3] = {0, 0, 0}; // printadd1 to printadd3
};

// The two conversions of the settings file. A whole number is trimmed and must be a
// 16-bit number as a whole (a fraction rounds half to even), else error 13 or 6. A
// rounded number is the leading number of the text (0 when there is none), rounded
// half to even.
int wholeNumberSetting(const QString &value);
double roundedNumberSetting(const QString &value);

// Read from the settings file at `path` in the order the printout reads them; the
// settings reader tells the user of each missing key.
PrintSettings readPrintSettings(const QString &path);
HeaderSettings readHeaderSettings(const QString &path);

// The two keys the print dialog reads when it opens.
struct DestinationSettings {
    bool windowsPrint = false;
    bool toScreen = false;
};
DestinationSettings readDestinationSettings(const QString &path);

} // namespace shop
