#include "printing/PrintLayout.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>

#include <QStringEncoder>
#include <algorithm>
#include <cmath>

namespace shop {

namespace {

const QString Title = QStringLiteral("Purchase Return For Shop");

QString spaces(qsizetype count) { return QString(std::max<qsizetype>(count, 0), QLatin1Char(' ')); }
QString leftIn(const QString &text, int width) { return text + spaces(width - text.size()); }
QString rightIn(const QString &text, int width) { return spaces(width - text.size()) + text; }
// The same, written onto the end of a line being built.
void appendLeft(QString &line, QStringView text, int width)
{
    line += text;
    line.resize(line.size() + std::max<qsizetype>(width - text.size(), 0), QLatin1Char(' '));
}
void appendRight(QString &line, QStringView text, int width)
{
    line.resize(line.size() + std::max<qsizetype>(width - text.size(), 0), QLatin1Char(' '));
    line += text;
}
// A column's blank and its text cut to the column, left-aligned.
void appendCut(QString &line, const QString &text, int width)
{
    line += QLatin1Char(' ');
    appendLeft(line, QStringView(text).left(std::max(width, 0)), width);
}
// A total right-aligned in its column; one too wide for it keeps a space from its neighbour.
QString totalIn(const QString &text, int width)
{
    return text.size() >= width ? QLatin1Char(' ') + text : rightIn(text, width);
}

int floorHalf(int value) { return static_cast<int>(std::floor(value / 2.0)); }

QString centred(const QString &text, int pageWidth)
{
    return spaces(floorHalf(pageWidth) - floorHalf(static_cast<int>(text.trimmed().size()))) + text;
}

// The line width's arithmetic of one printout.
struct Columns {
    int S, C, Q, U, R, A, D;
    bool code, cost;

    explicit Columns(const PrintSettings &s)
        : S(s.slNoWidth), C(s.showItemCode != 0 ? 15 : 0), Q(s.qtyWidth), U(s.unitWidth), R(s.rateWidth),
          A(s.amountWidth), D(0), code(s.showItemCode == 1), cost(s.showCost == 1)
    {
        D = s.pageWidth - S - 2 * Q - C - U - (cost ? R + A : 0);
    }
};

class Writer {
public:
    Writer(const PrintDocument &doc, const PrintSettings &s) : m_doc(doc), m_s(s), m_col(s), W(s.pageWidth)
    {
        m_separator = separatorLine(W, s.spaceInLine);
    }

    QByteArray document()
    {
        const std::vector<PrintLine> &lines = m_doc.lines;
        const int N = static_cast<int>(lines.size());
        // One growth of the document for its lines, most of them a page wide.
        m_out.reserve(static_cast<qsizetype>(N + 32) * (W + 2));
        const int E = (m_col.cost || m_s.showTotalQty == 1) ? 2 : 0;
        if (N > 0)
            header();
        const int frame = m_s.detailBottomLine + m_s.headerTopLine + m_s.headerBottomLine + 1;
        long long P = std::max<long long>(m_s.pageLength - m_H - frame, 1);
        long long rowOfPage = 1;
        for (int i = 0; i < N; ++i) {
            const bool more = i < N - 1;
            if (rowOfPage == 1) {
                if (P - 2 - E >= N) {
                    P -= 2 + E;
                } else if (m_s.footerOnEachPage == 1) {
                    P -= 2;
                    if (P >= N)
                        P = N - 1;
                } else if (P >= N) {
                    P = N - 1;
                }
                separatorIf(m_s.headerTopLine);
                columnHeading();
                separatorIf(m_s.headerBottomLine);
            }
            itemLine(lines[static_cast<size_t>(i)]);
            if (more && rowOfPage == P) {
                separatorIf(m_s.detailBottomLine);
                if (m_s.footerOnEachPage == 1)
                    footer();
            }
            if (more)
                ++rowOfPage;
            if (rowOfPage > P) {
                rowOfPage = 1;
                m_H = 0;
                P = m_s.pageLength - frame;
                if (!more && m_s.footerOnEachPage == 1)
                    footer();
                line(QStringLiteral("\f"));
            }
        }
        separatorIf(m_s.detailBottomLine);
        totals();
        footer();
        return QStringEncoder(QStringConverter::Utf8).encode(m_out);
    }

private:
    void line(const QString &text)
    {
        m_out += text;
        m_out += QLatin1String("\r\n");
    }
    void separatorIf(int flag)
    {
        if (flag == 1)
            line(m_separator);
    }

    void columnHeading()
    {
        QString t = rightIn(QStringLiteral("Sl.No"), m_col.S);
        if (m_col.code)
            t += QLatin1Char(' ') + leftIn(QStringLiteral("Item Code"), m_col.C - 1);
        t += QLatin1Char(' ') + leftIn(QStringLiteral("Item Description"), m_col.D - 1);
        t += QLatin1Char(' ') + rightIn(QStringLiteral("Before PR"), m_col.Q - 1);
        t += QLatin1Char(' ') + rightIn(QStringLiteral("Return Qty"), m_col.Q - 1);
        t += QLatin1Char(' ') + rightIn(QStringLiteral("Unit"), m_col.U - 1);
        if (m_col.cost) {
            t += QLatin1Char(' ') + rightIn(QStringLiteral("Cost Pr"), m_col.R - 1);
            t += QLatin1Char(' ') + rightIn(QStringLiteral("Total Cost"), m_col.A - 1);
        }
        line(t);
    }

    void itemLine(const PrintLine &item)
    {
        static const NumberFormat quantity(fmt::Fixed3);
        static const NumberFormat amount(fmt::Amount2);
        QString &t = m_line;
        t.clear();
        appendRight(t, QString::number(m_serial++), m_col.S);
        if (m_col.code)
            appendCut(t, item.itemCode, m_col.C - 1);
        appendCut(t, item.description, m_col.D - 1);
        t += QLatin1Char(' ');
        appendRight(t, quantity(item.before), m_col.Q - 1);
        t += QLatin1Char(' ');
        appendRight(t, quantity(item.after), m_col.Q - 1);
        t += QLatin1Char(' ');
        appendRight(t, item.unitCode, m_col.U - 1);
        m_before += item.before;
        m_after += item.after;
        if (m_col.cost) {
            const double revised = revisedCostPrice(item.itemRate, m_doc.revisedCostPercent);
            const double total = item.after * revised;
            t += QLatin1Char(' ');
            appendRight(t, amount(revised), m_col.R - 1);
            t += QLatin1Char(' ');
            appendRight(t, amount(total), m_col.A - 1);
            m_cost += total;
        }
        line(t);
    }

    void totals()
    {
        const bool qty = m_s.showTotalQty == 1;
        if (!m_col.cost && !qty)
            return;
        const QString cost = formatNumber(m_cost, fmt::Amount2);
        if (m_col.cost && !qty) {
            const QString pair = QStringLiteral("Grand Total : ") + cost;
            line(rightIn(pair, W));
        } else {
            QString t = spaces(m_col.S + m_col.C + m_col.D - 14) + QStringLiteral("Grand Total:  ");
            t += totalIn(formatNumber(m_before, fmt::Fixed3), m_col.Q);
            t += totalIn(formatNumber(m_after, fmt::Fixed3), m_col.Q);
            if (m_col.cost)
                t += totalIn(cost, m_col.U + m_col.R + m_col.A);
            line(t);
        }
        line(QString());
    }

    // The header of the first page; it ends at once when totalheadcount lines are out.
    void header()
    {
        m_H = 0;
        if (!m_doc.header || !m_doc.header->data.shopFound)
            return;
        const HeaderSettings &h = m_doc.header->settings;
        const PrintHeader &d = m_doc.header->data;
        const QString M = spaces(h.leftMargin);
        const auto full = [&] { return h.totalHeadCount > 0 && m_H == h.totalHeadCount; };
        const auto headerLine = [&](const QString &text) {
            if (full())
                return false;
            line(text);
            ++m_H;
            return true;
        };
        for (int i = 0; i < h.linesToSkipFirst; ++i)
            if (!headerLine(QString()))
                return;
        if (h.titleAbove == 1 && !headerLine(titleLine()))
            return;
        if (h.printCompanyName == 1) {
            // Shift-out and shift-in ask the printer for its wide letters on the company name.
            if (!headerLine(QStringLiteral("\x0e\x0f") + M + d.companyName))
                return;
            for (int a = 0; a < 3; ++a)
                if (h.printAddress[a] == 1 && !headerLine(M + d.companyAddress[a]))
                    return;
        }
        if (!headerLine(M + d.shopName))
            return;
        QString address = d.shopAddress;
        address.replace(QLatin1String("\r\n"), QLatin1String(" "));
        // A bare line feed in the address starts a line of its own, ended and counted as one.
        const QStringList addressLines = address.split(QLatin1Char('\n'));
        if (!headerLine(filledTo(M + addressLines.first(), QStringLiteral("Purchase Return No     : ") + rightIn(d.number, 15))))
            return;
        for (qsizetype i = 1; i < addressLines.size(); ++i)
            if (!headerLine(M + addressLines.at(i)))
                return;
        for (int i = 0; i < h.linesAfterAddress; ++i)
            if (!headerLine(QString()))
                return;
        const QString phone = M + QStringLiteral("Tel:") + d.telephone + QStringLiteral("  Fax: ") + d.fax;
        if (!headerLine(filledTo(phone, QStringLiteral("Purchase Return Date   : ") + rightIn(displayDate(d.date), 15))))
            return;
        if (!headerLine(QString()))
            return;
        QString user = d.userName;
        QString remarks = d.remarks;
        user.remove(QLatin1String("\r\n"));
        remarks.remove(QLatin1String("\r\n"));
        if (!headerLine(M + QStringLiteral("User Name :") + user) || !headerLine(M + QStringLiteral("Remarks   :") + remarks))
            return;
        if (h.titleAbove == 0 && !headerLine(spaces(W - Title.size()) + Title))
            return;
        if (!headerLine(QString()))
            return;
        // Pads up to totalheadcount, never past it: a count the header already reached adds
        // nothing, and a count beyond any page stops where a 16-bit count does.
        if (h.linesAfterHeader == 1)
            while (m_H < std::min(h.totalHeadCount, 32767.0) && headerLine(QString())) {
            }
    }

    // The title centred in a line of W spaces; on a page too narrow for that it starts in column 1.
    QString titleLine() const
    {
        const int start = std::max(static_cast<int>(roundHalfEven((W - 24) / 2.0)), 1);
        QString t = spaces(W);
        if (t.size() < start - 1 + Title.size())
            t.resize(start - 1 + Title.size(), QLatin1Char(' '));
        t.replace(start - 1, Title.size(), Title);
        return t;
    }

    QString filledTo(const QString &left, const QString &right) const { return left + spaces(W - left.size() - right.size()) + right; }

    void footer()
    {
        const PrintFooter &f = m_doc.footer;
        line(QString());
        if (!f.messagesRead)
            return;
        for (const FooterMessage &m : f.messages) {
            const QString a = m.alignment.trimmed();
            if (a == QLatin1String("L"))
                line(m.message);
            else if (a == QLatin1String("R"))
                line(spaces(W - m.message.size()) + m.message);
            else if (a == QLatin1String("M"))
                line(centred(m.message, W));
            else
                line(QString());
        }
        line(QString());
        if (f.userName)
            line(centred(*f.userName + QStringLiteral(" - ") + m_doc.printedAt.date().toString(QStringLiteral("dd/MM/yyyy"))
                             + QStringLiteral(" - ") + m_doc.printedAt.time().toString(QStringLiteral("HH:mm:ss")),
                         W));
    }

    const PrintDocument &m_doc;
    const PrintSettings &m_s;
    const Columns m_col;
    const int W;
    QString m_separator;
    QString m_out;
    QString m_line; // the item line being built, its buffer kept from line to line
    int m_H = 0;
    long long m_serial = 1;
    double m_before = 0;
    double m_after = 0;
    double m_cost = 0;
};

} // namespace

QString separatorLine(int pageWidth, double spaceInLine)
{
    if (spaceInLine + 1 == 0)
        throw ModuleError(11, QStringLiteral("rtnmod08"), QStringLiteral("Division by zero"));
    const double n = roundHalfEven(pageWidth / (spaceInLine + 1));
    if (n <= 1)
        return QString();
    const QString step = spaces(static_cast<qsizetype>(std::max(spaceInLine, 0.0))) + QLatin1Char('-');
    QString t = QStringLiteral("-");
    // A width and a spacing from the settings file keep the line within a 16-bit page width.
    for (int i = 1; i < static_cast<int>(std::min(n, 32767.0)); ++i)
        t += step;
    return t;
}

QByteArray layoutPrintout(const PrintDocument &document, const PrintSettings &settings)
{
    return Writer(document, settings).document();
}

} // namespace shop
