#include "stock/Ledgers.h"

#include "common/core/AllocationColumns.h"

namespace shop {

const Ledger &ledger(IssueLedger kind)
{
    static const Ledger location{QStringLiteral("losLocationIssueDetails"),
                                 QStringLiteral("losLocationArrivalDetails"),
                                 QStringLiteral("lid"),
                                 QStringLiteral("lad"),
                                 QStringLiteral("lidTransId"),
                                 QStringLiteral("losLocationIssueDetails"),
                                 {QStringLiteral("LocationId")},
                                 {{QStringLiteral("lidlocationid"), locationcol::LocationId, Cell::Id},
                                  {QStringLiteral("liditemid"), locationcol::ItemId, Cell::Id},
                                  {QStringLiteral("liditemqty"), locationcol::Quantity, Cell::Quantity},
                                  {QStringLiteral("lidpackingtypeid"), locationcol::PackingTypeId, Cell::OptionalId},
                                  {QStringLiteral("lidPakingQty"), locationcol::PackingQty, Cell::Quantity}}};
    static const Ledger expiry{QStringLiteral("losExpiryIssueDetails"),
                               QStringLiteral("losExpiryArrivalDetails"),
                               QStringLiteral("eid"),
                               QStringLiteral("ead"),
                               QStringLiteral("eidTransactionId"),
                               QStringLiteral("losExpiryIssueDetails"),
                               {QStringLiteral("BatchNo"), QStringLiteral("ExpiryDate")},
                               {{QStringLiteral("eidexpirydate"), expirycol::ExpiryDate, Cell::Date},
                                {QStringLiteral("eiditemid"), expirycol::ItemId, Cell::Id},
                                {QStringLiteral("eiditemqty"), expirycol::Quantity, Cell::Quantity},
                                {QStringLiteral("eidBatchNo"), expirycol::BatchNo, Cell::Text},
                                {QStringLiteral("eidpackingtypeid"), expirycol::PackingTypeId, Cell::OptionalId},
                                {QStringLiteral("eidpackingqty"), expirycol::PackingQty, Cell::Quantity}}};
    static const Ledger serial{QStringLiteral("losSerialIssueDetails"),
                               QStringLiteral("losSerialArrivalDetails"),
                               QStringLiteral("sid"),
                               QStringLiteral("sad"),
                               QStringLiteral("sidTransactionId"),
                               QStringLiteral("losserialIssueDetails"),
                               {QStringLiteral("SerialNo")},
                               {{QStringLiteral("sidSerialNo"), serialcol::SerialNo, Cell::Text},
                                {QStringLiteral("siditemid"), serialcol::ItemId, Cell::Id},
                                {QStringLiteral("siditemqty"), serialcol::Quantity, Cell::Quantity},
                                {QStringLiteral("sidpackingtypeid"), serialcol::PackingTypeId, Cell::OptionalId},
                                {QStringLiteral("sidpackingqty"), serialcol::PackingQty, Cell::Quantity},
                                {QStringLiteral("sidCancel"), -1, Cell::Zero},
                                {QStringLiteral("sidAdjustment"), -1, Cell::Zero},
                                {QStringLiteral("sidFreeQty"), -1, Cell::Zero}}};
    switch (kind) {
    case IssueLedger::Location:
        return location;
    case IssueLedger::Expiry:
        return expiry;
    case IssueLedger::Serial:
        break;
    }
    return serial;
}

} // namespace shop
