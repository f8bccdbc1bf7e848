// How long the text printout of a long return takes to lay out and write, against a
// plain snprintf layout of the same lines (columns, page headings and separators, the
// grand total) written to the same file.
//   printout [lines ...]      (default 1000 10000)

#include "printing/PrintData.h"
#include "printing/PrintLayout.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

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

// The same item lines laid out by snprintf into one buffer: what the layout costs at
// the least, without the header, footer and settings rules of the module's layout.
QByteArray plainLayout(const PrintDocument &doc, const PrintSettings &s)
{
    const int S = s.slNoWidth, Q = s.qtyWidth, U = s.unitWidth, R = s.rateWidth, A = s.amountWidth;
    const int C = s.showItemCode != 0 ? 15 : 0;
    const bool cost = s.showCost == 1;
    const int D = s.pageWidth - S - 2 * Q - C - U - (cost ? R + A : 0);
    const std::string separator(static_cast<size_t>(s.pageWidth), '-');
    char heading[512];
    snprintf(heading, sizeof heading, "%*s %-*s %*s %*s %*s %*s %*s\r\n", S, "Sl.No", D - 1, "Item Description", Q - 1,
             "Before PR", Q - 1, "Return Qty", U - 1, "Unit", R - 1, "Cost Pr", A - 1, "Total Cost");
    const size_t perPage = static_cast<size_t>(std::max(s.pageLength - 4, 1));
    std::string out;
    out.reserve((doc.lines.size() + 32) * static_cast<size_t>(s.pageWidth + 2));
    char line[1024];
    double before = 0, after = 0, total = 0;
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        if (i % perPage == 0) {
            if (i > 0)
                out += "\f\r\n";
            out += separator + "\r\n";
            out += heading;
            out += separator + "\r\n";
        }
        const PrintLine &l = doc.lines[i];
        const QByteArray description = l.description.left(D - 1).toUtf8();
        const QByteArray unit = l.unitCode.toUtf8();
        const double revised = revisedCostPrice(l.itemRate, doc.revisedCostPercent);
        const int n = snprintf(line, sizeof line, "%*zu %-*s %*.3f %*.3f %*s %*.2f %*.2f\r\n", S, i + 1, D - 1,
                               description.constData(), Q - 1, l.before, Q - 1, l.after, U - 1, unit.constData(), R - 1,
                               revised, A - 1, l.after * revised);
        out.append(line, static_cast<size_t>(std::min<int>(n, sizeof line - 1)));
        before += l.before;
        after += l.after;
        total += l.after * revised;
    }
    out += separator + "\r\n";
    const int n = snprintf(line, sizeof line, "%*s%*.3f%*.3f%*.2f\r\n", S + C + D, "Grand Total:  ", Q, before, Q, after,
                           U + R + A, total);
    out.append(line, static_cast<size_t>(std::min<int>(n, sizeof line - 1)));
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
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
        const QByteArray plain = plainLayout(document, settings);
        const double module = bench::medianMs(15, [&] { writeFile(path, layoutPrintout(document, settings)); });
        const double raw = bench::medianMs(15, [&] { writeFile(path, plainLayout(document, settings)); });
        bench::report(out, QStringLiteral("printout_%1").arg(lines), Backend::None, lines, module, raw, bench::peakRssMiB(),
                      QStringLiteral("%1 bytes, the plain layout %2").arg(bytes.size()).arg(plain.size()));
    }
    return 0;
}
