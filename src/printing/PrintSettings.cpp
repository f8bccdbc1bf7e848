#include "printing/PrintSettings.h"

#include "common/core/Conversions.h"
#include "common/routines/SettingsFile.h"

#include <QVariant>

namespace shop {

int wholeNumberSetting(const QString &value) { return toInt16(QVariant(value.trimmed())); }

double roundedNumberSetting(const QString &value) { return roundHalfEven(val(value)); }

namespace {

class SettingsReader {
public:
    explicit SettingsReader(const QString &path) : m_path(path) {}
    QString text(const char *key) const { return FileCode(QLatin1String(key), m_path); }
    int whole(const char *key) const { return wholeNumberSetting(text(key)); }
    double rounded(const char *key) const { return roundedNumberSetting(text(key)); }

private:
    QString m_path;
};

} // namespace

PrintSettings readPrintSettings(const QString &path)
{
    const SettingsReader file(path);
    PrintSettings s;
    // A device or file path keeps its case: on this platform "/dev/usb/lp0" and "/DEV/USB/LP0" differ.
    s.port = file.text("port").trimmed();
    s.pageLength = file.whole("internalprintnoofrecords");
    s.pageWidth = file.whole("pagewidth");
    s.slNoWidth = file.whole("SlNo");
    s.qtyWidth = file.whole("Qty");
    s.unitWidth = file.whole("Unit");
    s.rateWidth = file.whole("Rate");
    s.amountWidth = file.whole("Amount");
    // Read and checked like the others; the layout does not use them.
    for (const char *unused : {"ExtraLine", "EndPage", "Seperator"})
        file.whole(unused);
    s.headerTopLine = file.whole("printheadertopline");
    s.headerBottomLine = file.whole("printheaderbottomline");
    s.detailBottomLine = file.whole("printdetailbottomline");
    s.spaceInLine = file.rounded("spaceinlinecode");
    s.footerOnEachPage = file.rounded("printfooterineachpage");
    s.showCost = file.rounded("showcostintrans");
    s.showItemCode = file.rounded("showitemcodeinprint");
    s.savedOrder = file.rounded("printinsavedorder");
    s.showTotalQty = file.rounded("showtotalqty");
    // The code page the layout was drawn for, unless the shop's printer speaks another.
    s.printEncoding = OptionalFileCode(QStringLiteral("printencoding"), path).value_or(QString()).trimmed();
    if (s.printEncoding.isEmpty())
        s.printEncoding = QStringLiteral("WINDOWS-1252");
    return s;
}

HeaderSettings readHeaderSettings(const QString &path)
{
    const SettingsReader file(path);
    HeaderSettings h;
    h.leftMargin = file.whole("headerleftmargin");
    h.linesAfterHeader = file.whole("linesafterheader");
    h.linesAfterAddress = file.whole("linesafteraddress");
    h.totalHeadCount = file.rounded("totalheadcount");
    h.titleAbove = file.rounded("printtransnameabove");
    h.linesToSkipFirst = file.whole("linetoskipfirst");
    h.printCompanyName = file.whole("PrintCompanyName");
    h.printAddress[0] = file.whole("printadd1");
    h.printAddress[1] = file.whole("printadd2");
    h.printAddress[2] = file.whole("printadd3");
    return h;
}

DestinationSettings readDestinationSettings(const QString &path)
{
    const SettingsReader file(path);
    DestinationSettings d;
    d.windowsPrint = file.rounded("windowsprint") == 1;
    if (!d.windowsPrint)
        d.toScreen = file.rounded("printtoscreen") == 1;
    return d;
}

} // namespace shop
