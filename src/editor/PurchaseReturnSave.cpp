#include "editor/PurchaseReturnSave.h"

#include "common/db/Transaction.h"

#include "common/core/Conversions.h"
#include "common/routines/ExchangeRates.h"
#include "common/routines/Lookups.h"
#include "common/host/ModuleCommonDB.h"
#include <rtnmod08/ModuleError.h>
#include "common/db/SqlText.h"
#include "editor/DocumentNumbering.h"
#include "editor/EntryDraft.h"
#include "stock/IssueLedgers.h"
#include "stock/StockRecheck.h"
#include "common/host/ModuleState.h"

#include <QList>
#include <QSet>

namespace shop {

const QString PurchaseReturnSave::PostedMessage =
    QStringLiteral("The transaction has posted to the journal. Please cancel post to edit it.");
const QString PurchaseReturnSave::AlreadyDeletedMessage = QStringLiteral("This entry is already deleted");
const QString PurchaseReturnSave::AllocationWithoutLineMessage =
    QStringLiteral("Location, expiry or serial details are entered for an item that has no line in the list.")
    + QStringLiteral("\n\n") + QStringLiteral("Add the item's line again or remove its details before saving.");

namespace {

const QString kSource = QStringLiteral("PurchaseReturnSave");

QString shopCondition(const char *text, qint32 shopId) { return QString::fromLatin1(text) + sqlNumber(qint64{shopId}); }

QVariant headerDate(const QString &text)
{
    const QDate date = parseDate(text);
    if (!date.isValid())
        throw ModuleError(ModuleError::TypeMismatch, kSource, QStringLiteral("Type mismatch"));
    return date;
}

bool isTypeI(const QString &transType) { return transType == QLatin1String("I"); }

// Whether an allocation table holds rows of an item that has no line: saved, they would
// take stock out that no detail row accounts for.
bool hasRowsWithoutLine(const TextTable &table, AllocationKind kind, const QList<QStringList> &lines)
{
    QSet<QString> items;
    for (const QStringList &l : lines)
        items.insert(l.value(line::ItemId).trimmed());
    const int itemColumn = allocationColumns(kind).itemId;
    for (int r = 1; r < table.rowCount(); ++r)
        if (!items.contains(table.text(r, itemColumn).trimmed()))
            return true;
    return false;
}

} // namespace

PurchaseReturnSave::PurchaseReturnSave(Connection &con, Session session) : m_session(std::move(session)), m_con(con) {}

bool PurchaseReturnSave::isPosted(TransactionId transId) const
{
    const auto db = newCommonDB(QStringLiteral("LOsPurchaseReturnHeader"));
    return toBool(db->fnReturnField(QStringLiteral("whposted"), shopCondition("whshopid=", m_session.shopId)
                                                                    + QStringLiteral(" and whid=") + sqlNumber(qint64{transId.value()})));
}

SaveOutcome PurchaseReturnSave::save(const PurchaseReturnEntry &entry)
{
    if (!entry.isNew() && isPosted(entry.id))
        return SaveOutcome{false, PostedMessage, MsgIcon::Critical, entry.id, entry.number};
    // Location rows are stored only for a shop that keeps stock by location.
    if ((entry.locations.hasData() && fnLocationArrangement(m_session.shopId)
         && hasRowsWithoutLine(entry.locations, AllocationKind::Location, entry.lines))
        || hasRowsWithoutLine(entry.expiry, AllocationKind::Expiry, entry.lines)
        || hasRowsWithoutLine(entry.serials, AllocationKind::Serial, entry.lines))
        return SaveOutcome{false, AllocationWithoutLineMessage, MsgIcon::Exclamation, entry.id, entry.number};

    ModuleWrite write(m_con, m_session.shopId, entry.commitToken, kSource);
    return write.run([&] { return saveOnce(entry, write); });
}

SaveOutcome PurchaseReturnSave::saveOnce(const PurchaseReturnEntry &entry, const ModuleWrite &write)
{
    const qint32 shopId = m_session.shopId;
    QList<qint32> items;
    for (const QStringList &l : entry.lines)
        items << toInt32(valDecimal(l.value(line::ItemId)));
    if (!entry.isNew()) {
        // Another terminal may have cancelled or posted the return since it was opened;
        // saving it now would bring it back and count its stock twice.
        const HeaderFlags flags = write.lockHeader(entry.id);
        if (flags.cancelled)
            return SaveOutcome{false, AlreadyDeletedMessage, MsgIcon::Information, entry.id, entry.number};
        if (flags.posted)
            return SaveOutcome{false, PostedMessage, MsgIcon::Critical, entry.id, entry.number};
    }
    write.lockStockRows(entry.id, items);
    // Location rows are kept only for a shop that keeps stock by location.
    const bool byLocation = fnLocationArrangement(shopId);

    // What the stored return holds before it is rewritten: the re-check refuses only what the save makes worse.
    const HeldStock held = entry.isNew() ? HeldStock{}
                                         : heldByReturn(m_con, LedgerOwner{m_session.interfaceId, shopId, entry.id.value()},
                                                        byLocation);
    SaveOutcome outcome;
    writeHeader(entry, outcome);
    writeDetails(entry, outcome.transId);

    // An edited return's issue rows follow its tables, so a line deleted in the editor
    // takes its location, batch and serial issues with it.
    const LedgerOwner owner{m_session.interfaceId, shopId, outcome.transId.value()};
    const auto rewrite = [&](IssueLedger ledger, const TextTable &table) {
        if (table.hasData() || !entry.isNew())
            rewriteIssueLedger(m_con, ledger, table, owner);
    };
    if (byLocation)
        rewrite(IssueLedger::Location, entry.locations);
    rewrite(IssueLedger::Expiry, entry.expiry);
    rewrite(IssueLedger::Serial, entry.serials);
    if (const auto shortfall = stockShortfall(m_con, owner, byLocation, held)) {
        outcome.refusal = *shortfall;
        outcome.icon = MsgIcon::Exclamation;
        return outcome;
    }
    DraftStore::discardWithin(m_con, m_session);
    outcome.saved = true;
    return outcome;
}

void PurchaseReturnSave::writeHeader(const PurchaseReturnEntry &entry, SaveOutcome &outcome)
{
    const qint32 shopId = m_session.shopId;
    const qint16 inventoryCurrency = fnGetCurrencyId(m_con, m_session, QStringLiteral("A"), m_session.inventoryId);
    const qint16 departmentCurrency = fnGetCurrencyId(m_con, m_session, QStringLiteral("D"), m_session.shopDepartmentId);
    const qint16 companyCurrency = fnGetCurrencyId(m_con, m_session, QStringLiteral("Z"), m_session.companyId);
    const double depExRate = fnConversionFactor(m_session.exchangeRates, inventoryCurrency, departmentCurrency);
    const double conExRate = fnConversionFactor(m_session.exchangeRates, inventoryCurrency, companyCurrency);

    const bool typeI = isTypeI(m_session.transType);
    if (typeI && !entry.departmentId)
        throw ModuleError(381, QStringLiteral("cbodepartment"), QStringLiteral("Invalid property array index"));
    const QVariant otherDepartment = typeI ? QVariant(*entry.departmentId) : QVariant();
    const QVariant apartment = typeI && entry.apartmentId ? QVariant(*entry.apartmentId) : QVariant();
    const QVariant expense = expenseAccount(entry);

    // Columns written on every save, in this order.
    const QStringList columns{QStringLiteral("WhDate"),         QStringLiteral("WhUserName"),
                              QStringLiteral("WhRemarks"),      QStringLiteral("whcancelled"),
                              QStringLiteral("whconexrate"),    QStringLiteral("whdepexrate"),
                              QStringLiteral("whexchangerates"), QStringLiteral("whOtherDepId"),
                              QStringLiteral("Whtransfinished"), QStringLiteral("whreceivedby"),
                              QStringLiteral("whauthorisedby"), QStringLiteral("whtype"),
                              QStringLiteral("whexpenseaccid")};
    const QVariantList values{headerDate(entry.dateText),
                              storedText(entry.userName.trimmed()),
                              storedText(entry.remarks.trimmed()),
                              0,
                              conExRate,
                              depExRate,
                              storedText(m_session.exchangeRates.trimmed()),
                              otherDepartment,
                              entry.confirmed ? 1 : 0,
                              storedText(entry.receivedBy.trimmed()),
                              storedText(entry.approvedBy.trimmed()),
                              storedText(m_session.transType),
                              expense};

    if (entry.isNew()) {
        outcome.transId = TransactionId(newCommonDB(shopCondition("LOsPurchaseReturnHeader where whshopid=", shopId))
                                            ->fnGetNextMaxNo(QStringLiteral("whid")));
        const QVariant department = newCommonDB(QStringLiteral("ashops"))
                                        ->fnReturnField(QStringLiteral("departmentid"), shopCondition(" shopid = ", shopId));
        outcome.transNo = DocumentNumbering(m_con, m_session.interfaceId, shopId).nextNumber();
        outcome.audit = AuditNote{outcome.transId.value(), outcome.transNo, modeText(entry.mode)};

        const QStringList all = QStringList{QStringLiteral("whShopID"), QStringLiteral("WhID"), QStringLiteral("WhNo"),
                                            QStringLiteral("whdepartmentid"), QStringLiteral("whapartmentid")}
            + columns;
        const QVariantList allValues = QVariantList{shopId, outcome.transId.value(), storedText(outcome.transNo), department, apartment} + values;
        m_con.execute(QStringLiteral("insert into LOsPurchaseReturnHeader (") + all.join(QStringLiteral(", "))
                          + QStringLiteral(") values (") + QStringList(all.size(), QStringLiteral("?")).join(QLatin1Char(','))
                          + QLatin1Char(')'),
                      allValues);
        return;
    }

    outcome.transId = entry.id;
    outcome.transNo = entry.number;
    outcome.audit = AuditNote{outcome.transId.value(), outcome.transNo, modeText(entry.mode)};

    QStringList assignments;
    for (const QString &c : columns)
        assignments << c + QStringLiteral(" = ?");
    QVariantList updateValues = values;
    // An edited type "I" return keeps its apartment unless another one was chosen.
    if (!typeI || entry.apartmentId) {
        assignments << QStringLiteral("whapartmentid = ?");
        updateValues << apartment;
    }
    updateValues << shopId << outcome.transId.value();
    const int updated = m_con.execute(QStringLiteral("update LOsPurchaseReturnHeader set ") + assignments.join(QStringLiteral(", "))
                                          + QStringLiteral(" where whshopid=? and whid=?"),
                                      updateValues);
    if (updated == 0)
        throw ModuleError(3021, kSource,
                          QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                         "Requested operation requires a current record."));
    m_con.execute(QStringLiteral("Update LOsPurchaseReturnHeader set updatetime=getdate() where whid=?  and whshopid=?"),
                  {outcome.transId.value(), shopId});
}

QVariant PurchaseReturnSave::expenseAccount(const PurchaseReturnEntry &entry) const
{
    const QString condition = shopCondition("ShopID= ", m_session.shopId) + QStringLiteral(" and CompanyID=")
        + sqlNumber(qint64{m_session.companyId});
    const auto shops = newCommonDB(QStringLiteral("ashops"));
    // A shop without an expense account still records its returns; the account stays
    // empty. The account is read whole: one numbered past 32767 must not stop the save.
    const QVariant stored = shops->fnReturnField(QStringLiteral("ExpenseAccount"), condition);
    const QVariant account = stored.isNull() ? QVariant() : QVariant(toInt32(stored));
    if (!isTypeI(m_session.transType))
        return account;
    const qint32 ownDepartment = toInt32(shops->fnReturnField(QStringLiteral("DepartmentID"), condition));
    if (*entry.departmentId == ownDepartment || m_session.companyLogin != 0)
        return account;
    return newCommonDB(QStringLiteral("adepcontrolaccounts"))
        ->fnReturnField(QStringLiteral("controlaccid"), QStringLiteral("maindepid= ") + sqlNumber(qint64{ownDepartment})
                                                            + QStringLiteral(" and otherdepid=")
                                                            + sqlNumber(qint64{*entry.departmentId})
                                                            + QStringLiteral(" and CompanyID=")
                                                            + sqlNumber(qint64{m_session.companyId}));
}

void PurchaseReturnSave::writeDetails(const PurchaseReturnEntry &entry, TransactionId id)
{
    const qint32 transId = id.value();
    const qint32 shopId = m_session.shopId;
    const QString procedure = QStringLiteral("spUpdateshopWriteoff");
    if (!entry.isNew()) {
        // The stored quantities go back to stock before their rows are replaced.
        m_con.callProcedure(procedure, {transId, shopId, QStringLiteral("R"), m_session.transType});
        m_con.execute(QStringLiteral("delete from LOsPurchaseReturnDetail  where wdshopid=? and wdid = ?"), {shopId, transId});
    }
    const QString insert = QStringLiteral(
        "insert into LOsPurchaseReturnDetail (wdshopid, WdID, WdItemID, WdAvailableQty, WdPurchaseReturnQty, "
        "wdshipmentid, wdcostprice) values (?,?,?,?,?,?,?)");
    for (const QStringList &l : entry.lines) {
        m_con.execute(insert, {shopId, transId, toInt32(valDecimal(l.value(line::ItemId))),
                               valDecimal(figureToSave(l, line::AvailableQty, line::StoredAvailableQty)).toString(),
                               valDecimal(l.value(line::ReturnQty)).toString(),
                               toInt32(valDecimal(l.value(line::ShipmentId))),
                               val(figureToSave(l, line::CostPrice, line::StoredCostPrice))});
    }
    m_con.callProcedure(procedure, {transId, shopId, QStringLiteral("F"), m_session.transType});
}

} // namespace shop
