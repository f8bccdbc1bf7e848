#include "items/AllocationPolicies.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/HostComponents.h>
#include "items/BatchProposal.h"

#include <QComboBox>
#include <QLineEdit>

namespace shop {

namespace {

const QString DeleteRowQuestion = QStringLiteral("Do you want to delete the selected row ?");

// What the line still lacks, at most `limit`, written into an empty quantity cell.
void proposeMissing(AllocationModel &rows, int row, std::optional<Decimal> limit = std::nullopt)
{
    if (rows.quantity(row))
        return;
    const Decimal missing = rows.missing();
    rows.setQuantity(row, limit && *limit < missing ? *limit : missing);
}

} // namespace

AllocationContext::AllocationContext(Connection &con)
    : balances(con), gen(ComponentRegistry::create<clsCommonGen>(progid::CommonGen))
{
}

AllocationContext::~AllocationContext() = default;

bool AllocationContext::acceptsNumberKey(QLineEdit &box, QChar key, int maxLength, int decimals) const
{
    int code = key.unicode();
    gen->TextValidateNum(&box, code, maxLength, decimals);
    return code != 0;
}

// --- Locations ---------------------------------------------------------------------

AllocationLayout LocationPolicy::layout() const
{
    return {QStringLiteral("flxLocations"),
            QStringLiteral("cboLocation"),
            QStringLiteral("txtLocationQuantity"),
            {QStringLiteral("Sl No"), QStringLiteral("Location Name"), QStringLiteral("Quantity"), QString(), QString(),
             QString(), QString(), QString()},
            {0.15, 0.6, 0.2, 0, 0, 0, 0, 0},
            locationcol::LocationName,
            locationcol::Quantity,
            locationcol::PackingQty,
            true};
}

AllocationRules LocationPolicy::rules() const
{
    AllocationRules r;
    r.duplicateMessage = QStringLiteral("This location is already entered");
    r.deleteQuestion = QStringLiteral("Are you sure to delete the selected row.  ");
    r.otherKeysDropList = true;
    return r;
}

void LocationPolicy::picked(AllocationModel &rows, int row, const QString &entry, const QVariant &data)
{
    rows.setText(row, locationcol::LocationName, entry);
    rows.setText(row, locationcol::LocationId, data.toString());
    proposeMissing(rows, row);
}

bool LocationPolicy::acceptsQuantityKey(QLineEdit &box, QChar key) { return m_context.acceptsNumberKey(box, key, 10, 2); }

std::optional<AllocationRefusal> LocationPolicy::checkRows(const AllocationModel &rows, Decimal)
{
    for (int r = 1; r <= rows.count(); ++r) {
        if (rows.text(r, locationcol::LocationName).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Location Name cannot be blank.   ")};
        if (rows.quantity(r).value_or(Decimal()).isZero())
            return AllocationRefusal{QStringLiteral("Invalid Quantity.   ")};
    }
    if (rows.hasDuplicate(locationcol::LocationName))
        return AllocationRefusal{QStringLiteral("This location is already entered.   "), MsgIcon::Exclamation};
    return std::nullopt;
}

// --- Expiry batches ----------------------------------------------------------------

AllocationLayout ExpiryPolicy::layout() const
{
    return {QStringLiteral("flxexpiry"),
            QStringLiteral("cbobatchno"),
            QStringLiteral("txtExpiryQty"),
            {QStringLiteral("Sl No"), QStringLiteral("Batch No"), QStringLiteral("Expiry Date"), QStringLiteral("Quantity"),
             QString(), QString(), QString(), QString()},
            {0.15, 0.32, 0.15, 0.2, 0, 0, 0, 0},
            expirycol::BatchNo,
            expirycol::Quantity,
            expirycol::PackingQty,
            false};
}

AllocationRules ExpiryPolicy::rules() const
{
    AllocationRules r;
    r.duplicateMessage = QStringLiteral("This Batch No is already entered");
    r.deleteQuestion = DeleteRowQuestion;
    r.deleteByKey = false;
    r.zeroMessage = QStringLiteral("Invalid Quantity");
    r.overMessage = QStringLiteral("Expiry Quantity should not be more than Purchase Return Quantity.");
    r.takesLabels = true;
    r.notListedPrefix = QStringLiteral("Batch No ");
    r.notListedSuffix = QStringLiteral(" is not in stock");
    return r;
}

void ExpiryPolicy::picked(AllocationModel &rows, int row, const QString &batchNo, const QVariant &)
{
    rows.setText(row, expirycol::BatchNo, batchNo);
    const auto balance = m_context.balances.batch(m_context.owner, batchNo);
    if (!balance)
        return; // the batch lost its stock meanwhile: no date, no balance
    rows.setText(row, expirycol::ExpiryDate, displayDate(balance->expiryDate));
    proposeMissing(rows, row, balance->quantity);
}

QString ExpiryPolicy::rowNote(const AllocationModel &rows, int row) const
{
    return isExpired(parseDate(rows.text(row, expirycol::ExpiryDate)), m_context.processDate) ? QStringLiteral("expired")
                                                                                             : QString();
}

bool ExpiryPolicy::acceptsQuantityKey(QLineEdit &box, QChar key)
{
    // Batches are counted in whole units, whatever the package says of quantities.
    return key != QLatin1Char('.') && m_context.acceptsNumberKey(box, key, 10, 2);
}

std::optional<Decimal> ExpiryPolicy::quantityLimit(const AllocationModel &rows, int row)
{
    return batchBalance(rows, row);
}

std::optional<Decimal> ExpiryPolicy::batchBalance(const AllocationModel &rows, int row) const
{
    const QString batchNo = rows.text(row, expirycol::BatchNo);
    if (batchNo.trimmed().isEmpty())
        return std::nullopt;
    const auto balance = m_context.balances.batch(m_context.owner, batchNo);
    return balance ? balance->quantity : Decimal();
}

std::optional<AllocationRefusal> ExpiryPolicy::checkRows(const AllocationModel &rows, Decimal lineQuantity)
{
    if (rows.sum() != lineQuantity)
        return AllocationRefusal{QStringLiteral("The 'Write Off Qty' and  - Expiry Date wise Quantity' must be equal.   ")};
    if (rows.text(1, expirycol::ExpiryDate).trimmed().isEmpty() && rows.text(1, expirycol::BatchNo).trimmed().isEmpty())
        return AllocationRefusal{QStringLiteral(" Please enter the Expiry details and continue ")};
    for (int r = 1; r <= rows.count(); ++r) {
        if (rows.text(r, expirycol::BatchNo).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Invalid Date.   ")};
        if (rows.quantity(r).value_or(Decimal()) <= Decimal())
            return AllocationRefusal{QStringLiteral("Invalid Expiry Quantity.   ")};
    }
    if (rows.hasDuplicate(expirycol::BatchNo))
        return AllocationRefusal{QStringLiteral("Batch No Duplication Found.")};
    // A batch takes no more than it holds, however its quantity came into the row.
    for (int r = 1; r <= rows.count(); ++r)
        if (const auto limit = batchBalance(rows, r); limit && rows.quantity(r).value_or(Decimal()) > *limit)
            return AllocationRefusal{rules().limitMessage + quantityText(*limit)};
    return std::nullopt;
}

// --- Serial numbers ----------------------------------------------------------------

AllocationLayout SerialPolicy::layout() const
{
    return {QStringLiteral("flxserialno"),
            QStringLiteral("cboserialno"),
            QStringLiteral("txtquantitysl"),
            {QStringLiteral("Sl No"), QStringLiteral("Item Id"), QStringLiteral("Item Sl No"), QStringLiteral("Quantity"),
             QStringLiteral("Pack Type Id"), QStringLiteral("Pack Quantity")},
            {0.15, 0, 0.57, 0.25, 0, 0},
            serialcol::SerialNo,
            serialcol::Quantity,
            -1,
            false};
}

AllocationRules SerialPolicy::rules() const
{
    AllocationRules r;
    r.duplicateMessage = QStringLiteral("This Serial No already entered");
    r.duplicateOnPick = true;
    r.deleteQuestion = DeleteRowQuestion;
    r.zeroMessage = QStringLiteral("Invalid Quantity");
    r.clearOnZero = true;
    r.overMessage = QStringLiteral("Quantity exceed the necessary quantity");
    r.clearOnOver = true;
    r.takesLabels = true;
    r.notListedPrefix = QStringLiteral("Serial No ");
    r.notListedSuffix = QStringLiteral(" is not in stock");
    return r;
}

void SerialPolicy::picked(AllocationModel &rows, int row, const QString &serialNo, const QVariant &)
{
    rows.setText(row, serialcol::SerialNo, serialNo);
    if (!m_context.serialsMayRepeat) {
        rows.setQuantity(row, Decimal::fromInt(1));
        return;
    }
    rows.setQuantity(row, m_context.balances.serial(m_context.owner, serialNo));
}

bool SerialPolicy::acceptsQuantityKey(QLineEdit &box, QChar key) { return m_context.acceptsNumberKey(box, key, 10, 3); }

std::optional<Decimal> SerialPolicy::quantityLimit(const AllocationModel &rows, int row)
{
    const QString serialNo = rows.text(row, serialcol::SerialNo);
    if (!m_context.serialsMayRepeat || serialNo.trimmed().isEmpty())
        return std::nullopt;
    return m_context.balances.serial(m_context.owner, serialNo).value_or(Decimal());
}

std::optional<AllocationRefusal> SerialPolicy::checkRows(const AllocationModel &rows, Decimal lineQuantity)
{
    for (int r = 1; r <= rows.count(); ++r) {
        if (rows.text(r, serialcol::SerialNo).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Serial No cannot be blank"), MsgIcon::Exclamation};
        if (rows.quantity(r).value_or(Decimal()).isZero())
            return AllocationRefusal{QStringLiteral("Invalid Quantity"), MsgIcon::Exclamation};
    }
    if (rows.sum() != lineQuantity)
        return AllocationRefusal{QStringLiteral("The Serial No Quantity - Write Off Quantity must be equal")};
    if (rows.hasDuplicate(serialcol::SerialNo))
        return AllocationRefusal{QStringLiteral("This Serial No is already entered"), MsgIcon::Exclamation};
    return std::nullopt;
}

bool SerialPolicy::hasSameSerialTwice(const AllocationModel &rows)
{
    for (int a = 1; a <= rows.count(); ++a)
        for (int b = a + 1; b <= rows.count(); ++b)
            if (!rows.text(a, serialcol::SerialNo).isEmpty()
                && rows.text(a, serialcol::SerialNo) == rows.text(b, serialcol::SerialNo))
                return true;
    return false;
}

} // namespace shop
