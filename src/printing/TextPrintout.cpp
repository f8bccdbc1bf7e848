#include "printing/TextPrintout.h"

#include "common/host/ErrorReporting.h"
#include "printing/PrintLayout.h"

namespace shop {

namespace {
const QString HeaderRoutine = QStringLiteral("HeaderPrint ");
const QString FooterRoutine = QStringLiteral("FooterPrint");
} // namespace

const QString TextPrintout::ModuleName = QStringLiteral("FrmMaster");

TextPrintout::TextPrintout(Connection &con, qint32 shopId, qint32 userId, qint32 companyId)
    : m_con(con), m_shopId(shopId), m_userId(userId), m_companyId(companyId)
{
}

void TextPrintout::readSettings(const QString &settingsPath)
{
    m_trapped.clear();
    m_header.reset();
    m_read.reset();
    m_settings = readPrintSettings(settingsPath);
    m_settingsPath = settingsPath;
}

void TextPrintout::readReturn(TransactionId id)
{
    m_lines = printdata::bodyLines(m_con, m_shopId, id, m_settings.savedOrder);
    m_read = id;
    m_header.reset();
    // A return without lines prints no header: its keys are neither read nor faulted.
    if (m_lines.empty())
        return;
    try {
        m_header = readHeaderSettings(m_settingsPath);
    } catch (...) {
        trap(HeaderRoutine);
    }
}

QByteArray TextPrintout::PrintBill(TransactionId id, const QDateTime &now)
{
    if (m_read != id)
        readReturn(id);
    PrintDocument doc;
    doc.printedAt = now;
    doc.lines = m_lines;
    if (!doc.lines.empty()) {
        doc.header = HeaderPrint(id);
        // Asked once: the shop's percentage cannot change while one return is printed.
        if (m_settings.showCost == 1)
            doc.revisedCostPercent = printdata::revisedCostPercent(m_shopId);
    }
    doc.footer = FooterPrint();
    m_read.reset();
    return layoutPrintout(doc, m_settings);
}

std::optional<PrintDocument::Header> TextPrintout::HeaderPrint(TransactionId id)
{
    if (!m_header)
        return std::nullopt;
    try {
        return PrintDocument::Header{*m_header, printdata::header(m_con, m_shopId, m_companyId, id)};
    } catch (...) {
        trap(HeaderRoutine);
        return std::nullopt;
    }
}

PrintFooter TextPrintout::FooterPrint()
{
    PrintFooter footer;
    footer.messagesRead = false;
    try {
        footer.messages = printdata::footerMessages(m_con, m_shopId);
        footer.messagesRead = true;
        footer.userName = printdata::printingUser(m_con, m_userId, m_shopId);
    } catch (...) {
        trap(FooterRoutine);
    }
    return footer;
}

void TextPrintout::trap(const QString &routine) { m_trapped.push_back({routine, std::current_exception()}); }

void TextPrintout::reportTrappedErrors()
{
    for (const Trapped &t : m_trapped) {
        try {
            std::rethrow_exception(t.error);
        } catch (...) {
            TrackCaughtError(ModuleName, t.routine);
        }
    }
    m_trapped.clear();
}

} // namespace shop
