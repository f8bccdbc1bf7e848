#pragma once

#include "common/db/Schema.h"
#include "common/host/ModuleState.h"

namespace shop::bench {

// What the register leaves in the module-wide state for clerk 1 of a demo shop: the
// state a terminal program saves and cancels with.
inline void logInTerminal(ModuleState &s, const QString &location, qint32 shopId)
{
    s.gadocon = Connection::open(location);
    schema::attach(*s.gadocon);
    s.gintShopID = shopId;
    s.gintUserID = 1;
    s.gintCompanyID = 1;
    s.gintInterfaceID = 1901;
    s.gstrTransType = QStringLiteral("P");
    s.gstrMode = QStringLiteral("N");
    const Recordset rs = s.gadocon->query(QStringLiteral("select i.InventoryID, s.DepartmentID from aPackageSettings i, "
                                                         "ashops s where i.companyid = s.CompanyID and s.ShopID = ?"),
                                          {shopId});
    if (!rs.isEmpty()) {
        s.gintInventoryID = rs.value(0, 0).toInt();
        s.gintShopDepartmentID = rs.value(0, 1).toInt();
    }
}

} // namespace shop::bench
