#pragma once

#include "common/core/TransactionId.h"
#include "printing/PrintSettings.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace shop {

class Connection;

// One printed line: the detail rows of one item of the return, summed.
struct PrintLine {
    QString itemCode;
    QString description;
    QString unitCode;
    double before = 0;   // the shop's stock before the return (beforeverify)
    double after = 0;    // the quantity returned (afterverify)
    double itemRate = 0; // saved cost price, or the item's rate when none was saved
};

// What the header of the first page shows.
struct PrintHeader {
    QString number;
    QDate date;
    QString userName;
    QString remarks;
    bool shopFound = false; // no shop row: the header prints nothing
    QString shopName;
    QString shopAddress;
    QString telephone;
    QString fax;
    QString companyName;
    QString companyAddress[3];
};

struct FooterMessage {
    QString message;
    QString alignment; // "L", "R" or "M"
};

struct PrintFooter {
    // False when the messages could not be read: the footer stops after its first line.
    bool messagesRead = true;
    std::vector<FooterMessage> messages;
    std::optional<QString> userName; // the printing user; no line when unknown
};

// Everything one printout shows, gathered before it is laid out.
struct PrintDocument {
    std::vector<PrintLine> lines;
    double revisedCostPercent = 0;
    struct Header {
        HeaderSettings settings;
        PrintHeader data;
    };
    std::optional<Header> header; // nothing when the header could not be made
    PrintFooter footer;
    QDateTime printedAt;
};

// The revised cost price of a line: its rate raised by the shop's percentage.
double revisedCostPrice(double itemRate, double percent);

// The statements of the printout, on the module's connection; values are bound.
namespace printdata {

// The order clause chosen by printinsavedorder: 1 the order the items were saved in,
// 2 by description, anything else the database's own order.
QString orderClause(double savedOrder);
std::vector<PrintLine> bodyLines(Connection &con, qint32 shopId, TransactionId id, double savedOrder);
// Header, shop and company of the return (the company of the session).
PrintHeader header(Connection &con, qint32 shopId, qint32 companyId, TransactionId id);
// Raises an error when the shop has no percentage or it is not a number.
double revisedCostPercent(qint32 shopId);
std::vector<FooterMessage> footerMessages(Connection &con, qint32 shopId);
std::optional<QString> printingUser(Connection &con, qint32 userId, qint32 shopId);

} // namespace printdata

} // namespace shop
