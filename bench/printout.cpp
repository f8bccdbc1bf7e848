// How long the text printout of a long return takes to lay out and write, against
// writing the same bytes to the same file.
//   printout [lines ...]      (default 1000 10000)

#include "printing/PrintLayout.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace shop;

namespace {

PrintDocument longReturn(qint64 lines)
{
    PrintDocument document;
    for (qint64 i = 1; i <= lines; ++i)
        document.lines.push_back(PrintLine{QStringLiteral("GEN-%1").arg(i), QStringLiteral("Generated item %1 of the long return").arg(i),
                                           QStringLiteral("PCS"), 100.0 + static_cast<double>(i % 37), 1.0 + static_cast<double>(i % 5),
                                           2.5 + static_cast<double>(i % 11)});
    document.header = PrintDocument::Header{readHeaderSettings(QStringLiteral(SHOP_RESOURCES "/ShopSetting.txt")), {}};
    document.header->data.number = QStringLiteral("PR1000");
    document.header->data.date = QDate(2026, 12, 6);
    document.header->data.shopFound = true;
    document.header->data.shopName = QStringLiteral("Harbour Market");
    document.header->data.companyName = QStringLiteral("Harbour Traders Ltd");
    document.footer.userName = QStringLiteral("clerk");
    document.printedAt = QDateTime(QDate(2026, 12, 6), QTime(10, 30));
    return document;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const PrintSettings settings = readPrintSettings(QStringLiteral(SHOP_RESOURCES "/ShopSetting.txt"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PurchaseReturn.txt"));
    for (const qint64 lines : bench::sizesFrom(app.arguments().mid(1), {1000, 10000})) {
        const PrintDocument document = longReturn(lines);
        const QByteArray bytes = layoutPrintout(document, settings);
        const double module = bench::medianMs(15, [&] { writeFile(path, layoutPrintout(document, settings)); });
        const double raw = bench::medianMs(15, [&] { writeFile(path, bytes); });
        bench::report(out, QStringLiteral("printout_%1").arg(lines), Backend::None, lines, module, raw, bench::peakRssMiB(),
                      QStringLiteral("%1 bytes").arg(bytes.size()));
    }
    return 0;
}
