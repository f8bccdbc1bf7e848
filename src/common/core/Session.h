#pragma once

#include "common/core/EntryMode.h"

#include <QDate>
#include <QString>
#include <memory>

namespace shop {

class clsUserAuditing;

// Who works where: the values the data work needs from the host's Show and the
// register's load, taken once and handed down with the connection. The data work
// reads nothing else of the module's state.
struct Session {
    qint32 userId = 0;
    qint32 shopId = 0;
    qint32 companyId = 0;
    qint32 interfaceId = 0;
    qint16 companyLogin = 0;
    QString transType;
    QDate processDate;
    QString messageTitle;
    QString stockView;
    bool integerQuantity = false;
    // The mode of the return being worked on; the error log records it.
    EntryMode mode = EntryMode::New;
    // What the register lists: its statement (a row refresh adds its condition).
    QString listQuery;

    // The editor's load: the accounts the save posts to and the exchange-rate list
    // of the open return.
    qint32 inventoryId = 0;
    qint32 stockTransferAccId = 0;
    qint32 shopDepartmentId = 0;
    QString exchangeRates;

    // The audit component the register opened for this session.
    std::shared_ptr<clsUserAuditing> audit;
};

} // namespace shop
