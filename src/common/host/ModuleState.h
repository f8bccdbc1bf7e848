#pragma once

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/HostComponents.h>
#include <rtnmod08/Recordset.h>

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

namespace shop {

// The session and module-wide state every window and shared routine reads. One
// instance per loaded library; Show fills the session part, the register's load
// the rest.
struct ModuleState {
    // Session (copied by Show)
    ConnectionPtr gadocon;
    qint32 gintUserID = 0;
    qint32 gintShopID = 0;
    qint32 gintCompanyID = 0;
    QDate gdtProcessDate;
    QString gstrMessageTitle;
    QString gstrTransType;

    // Register load
    qint32 gintInterfaceID = 0;
    QString gstrMode;            // "N" new entry, "E" stored entry
    QString gstrListQuery;
    QString gstrListTable;
    QString gstrStockView;
    bool gblnIntegerQuantity = false;
    bool gblnAlias = false;
    QString gstrAlias;
    qint16 gintCompanyLogin = 0;
    std::shared_ptr<clsUserAuditing> gobjAudit;
    std::shared_ptr<clsFormcolor> gobjFormColor;

    // Item identification
    QString gstrItemTypeFilter;
    std::shared_ptr<Recordset> grsFetch;

    // Exchange-rate list of the open transaction and its parsed halves
    QString gstrExchangeRates;
    QStringList gCurrencyIds;
    QStringList gRates;

    // Editor load, read by the save
    qint32 gintInventoryID = 0;
    qint32 gintStockTransferAccID = 0;
    qint32 gintShopDepartmentID = 0;
};

ModuleState &moduleState();

// The shared user-audit component of the module. The register opens it when it
// loads; a save or cancellation that runs without the register opens it here.
clsUserAuditing &moduleAudit();

// The session of the module-wide state as it stands: what windows hand the data work.
Session sessionOf(const ModuleState &state);
Session moduleSession();

} // namespace shop
