#pragma once

#include "common/core/TransactionId.h"
#include "printing/PrintData.h"
#include "printing/PrintSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <exception>
#include <optional>
#include <vector>

namespace shop {

class Connection;

// The plain-text printout of one purchase return, in steps so that the hourglass is
// never on while a message waits: readSettings and readReturn (the return's lines and,
// when they make a header, the header's keys; both tell the user of missing keys), then
// PrintBill (the other statements and the layout; it reads the return itself when
// readReturn was not called for it). HeaderPrint and
// FooterPrint trap their own errors: the header or footer is left out, the printout
// goes on, and the error is reported by reportTrappedErrors once the work is done.
// PrintBill's own errors are raised to the caller.
class TextPrintout {
public:
    TextPrintout(Connection &con, qint32 shopId, qint32 userId, qint32 companyId);

    void readSettings(const QString &settingsPath);
    const PrintSettings &settings() const { return m_settings; }

    void readReturn(TransactionId id);
    QByteArray PrintBill(TransactionId id, const QDateTime &now = QDateTime::currentDateTime());
    void reportTrappedErrors();

    // The window whose routines these are, as the error log names it.
    static const QString ModuleName;

private:
    std::optional<PrintDocument::Header> HeaderPrint(TransactionId id);
    PrintFooter FooterPrint();
    void trap(const QString &routine);

    Connection &m_con;
    qint32 m_shopId;
    qint32 m_userId;
    qint32 m_companyId;
    PrintSettings m_settings;
    QString m_settingsPath;
    std::optional<TransactionId> m_read; // the return whose lines are read
    std::vector<PrintLine> m_lines;
    std::optional<HeaderSettings> m_header;
    struct Trapped {
        QString routine;
        std::exception_ptr error;
    };
    std::vector<Trapped> m_trapped;
};

} // namespace shop
