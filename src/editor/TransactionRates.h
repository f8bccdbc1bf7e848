#pragma once

#include "common/core/Session.h"
#include "common/host/ModuleState.h"
#include <rtnmod08/Connection.h>

#include <QString>

namespace shop {

// The exchange-rate list of the transaction the editor opens and the accounts the
// save posts to.
struct TransactionRates {
    QString exchangeRates;
    qint32 inventoryId = 0;
    qint32 stockTransferAccId = 0;
    qint32 shopDepartmentId = 0;
};

// Builds the list in this order: the company's cash group, the company, the
// inventory account, the stock-transfer control account, the shop's write-off account
// and the shop's department, keeping the accounts on the way. A missing package
// setting, account or department adds nothing to the list and leaves the session's
// value of it as it was.
TransactionRates buildTransactionRates(Connection &con, const Session &session);

// Keeps the rates in the module-wide state the editor's windows read.
void keepTransactionRates(ModuleState &state, const TransactionRates &rates);

} // namespace shop
