#include "items/AllocationPolicies.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/HostComponents.h>
#include "common/ui/FlexGrid.h"

#include <QComboBox>
#include <QLineEdit>

namespace shop {

namespace {

const QString DeleteRowQuestion = QStringLiteral("Do you want to delete the selected row ?");

// Whether two data rows hold the same text in the column, blanks and case ignored.
bool hasDuplicate(const AllocationGrid &grid, int col)
{
    for (int r = 1; r <= grid.dataRowCount(); ++r)
        if (grid.heldElsewhere(col, r, grid.text(r, col)))
            return true;
    return false;
}

// What the line still lacks, at most `limit`, written into an empty quantity cell (and
// its typed copy).
void proposeMissing(AllocationGrid &grid, int row, std::optional<Decimal> limit = std::nullopt)
{
    const int quantity = grid.layout().quantityColumn;
    if (!grid.text(row, quantity).isEmpty())
        return;
    const Decimal missing = grid.missing();
    grid.setText(row, quantity, quantityText(limit && *limit < missing ? *limit : missing));
    if (grid.layout().typedColumn >= 0)
        grid.setText(row, grid.layout().typedColumn, grid.text(row, quantity));
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
            locationcol::PackingQty};
}

AllocationRules LocationPolicy::rules() const
{
    AllocationRules r;
    r.duplicateMessage = QStringLiteral("This location is already entered");
    r.deleteQuestion = QStringLiteral("Are you sure to delete the selected row.  ");
    return r;
}

void LocationPolicy::picked(AllocationGrid &grid, int row, int index)
{
    grid.setText(row, locationcol::LocationName, grid.combo().itemText(index));
    grid.setText(row, locationcol::LocationId, grid.combo().itemData(index).toString());
    proposeMissing(grid, row);
}

bool LocationPolicy::acceptsQuantityKey(QLineEdit &box, QChar key) { return m_context.acceptsNumberKey(box, key, 10, 2); }

std::optional<AllocationRefusal> LocationPolicy::checkRows(const AllocationGrid &grid, Decimal)
{
    for (int r = 1; r <= grid.dataRowCount(); ++r) {
        if (grid.text(r, locationcol::LocationName).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Location Name cannot be blank.   ")};
        if (valDecimal(grid.text(r, locationcol::Quantity)).isZero())
            return AllocationRefusal{QStringLiteral("Invalid Quantity.   ")};
    }
    if (hasDuplicate(grid, locationcol::LocationName))
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
            expirycol::PackingQty};
}

AllocationRules ExpiryPolicy::rules() const
{
    AllocationRules r;
    r.duplicateMessage = QStringLiteral("This Batch No is already entered");
    r.deleteQuestion = DeleteRowQuestion;
    r.deleteByKey = false;
    r.zeroMessage = QStringLiteral("Invalid Quantity");
    r.overMessage = QStringLiteral("Expiry Quantity should not be more than Purchase Return Quantity.");
    return r;
}

void ExpiryPolicy::picked(AllocationGrid &grid, int row, int index)
{
    const QString batchNo = grid.combo().itemText(index);
    grid.setText(row, expirycol::BatchNo, batchNo);
    const auto balance = m_context.balances.batch(m_context.owner, batchNo);
    if (!balance)
        return; // the batch lost its stock meanwhile: no date, no balance
    grid.setText(row, expirycol::ExpiryDate, displayDate(balance->expiryDate));
    proposeMissing(grid, row, balance->quantity);
}

bool ExpiryPolicy::acceptsQuantityKey(QLineEdit &box, QChar key)
{
    // Batches are counted in whole units, whatever the package says of quantities.
    return key != QLatin1Char('.') && m_context.acceptsNumberKey(box, key, 10, 2);
}

std::optional<Decimal> ExpiryPolicy::quantityLimit(AllocationGrid &grid, int row) { return batchBalance(grid, row); }

std::optional<Decimal> ExpiryPolicy::batchBalance(const AllocationGrid &grid, int row) const
{
    const QString batchNo = grid.text(row, expirycol::BatchNo);
    if (batchNo.trimmed().isEmpty())
        return std::nullopt;
    const auto balance = m_context.balances.batch(m_context.owner, batchNo);
    return balance ? balance->quantity : Decimal();
}

std::optional<AllocationRefusal> ExpiryPolicy::checkRows(const AllocationGrid &grid, Decimal lineQuantity)
{
    if (grid.sum() != lineQuantity)
        return AllocationRefusal{QStringLiteral("The 'Write Off Qty' and  - Expiry Date wise Quantity' must be equal.   ")};
    if (grid.text(1, expirycol::ExpiryDate).trimmed().isEmpty() && grid.text(1, expirycol::BatchNo).trimmed().isEmpty())
        return AllocationRefusal{QStringLiteral(" Please enter the Expiry details and continue ")};
    for (int r = 1; r <= grid.dataRowCount(); ++r) {
        if (grid.text(r, expirycol::BatchNo).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Invalid Date.   ")};
        if (valDecimal(grid.text(r, expirycol::Quantity)) <= Decimal())
            return AllocationRefusal{QStringLiteral("Invalid Expiry Quantity.   ")};
    }
    if (hasDuplicate(grid, expirycol::BatchNo))
        return AllocationRefusal{QStringLiteral("Batch No Duplication Found.")};
    // A batch takes no more than it holds, however its quantity came into the row.
    for (int r = 1; r <= grid.dataRowCount(); ++r)
        if (const auto limit = batchBalance(grid, r); limit && valDecimal(grid.text(r, expirycol::Quantity)) > *limit)
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
            -1};
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
    return r;
}

void SerialPolicy::picked(AllocationGrid &grid, int row, int index)
{
    const QString serialNo = grid.combo().itemText(index);
    grid.setText(row, serialcol::SerialNo, serialNo);
    grid.quantityBox().clear();
    if (!m_context.serialsMayRepeat) {
        grid.quantityBox().setText(QStringLiteral("1"));
        grid.setText(row, serialcol::Quantity, QStringLiteral("1"));
        return;
    }
    if (const auto balance = m_context.balances.serial(m_context.owner, serialNo)) {
        grid.quantityBox().setText(quantityText(*balance));
        grid.setText(row, serialcol::Quantity, quantityText(*balance));
    }
}

bool SerialPolicy::acceptsQuantityKey(QLineEdit &box, QChar key) { return m_context.acceptsNumberKey(box, key, 10, 3); }

std::optional<Decimal> SerialPolicy::quantityLimit(AllocationGrid &grid, int row)
{
    const QString serialNo = grid.text(row, serialcol::SerialNo);
    if (!m_context.serialsMayRepeat || serialNo.trimmed().isEmpty())
        return std::nullopt;
    return m_context.balances.serial(m_context.owner, serialNo).value_or(Decimal());
}

std::optional<AllocationRefusal> SerialPolicy::checkRows(const AllocationGrid &grid, Decimal lineQuantity)
{
    for (int r = 1; r <= grid.dataRowCount(); ++r) {
        if (grid.text(r, serialcol::SerialNo).trimmed().isEmpty())
            return AllocationRefusal{QStringLiteral("Serial No cannot be blank"), MsgIcon::Exclamation};
        if (valDecimal(grid.text(r, serialcol::Quantity)).isZero())
            return AllocationRefusal{QStringLiteral("Invalid Quantity"), MsgIcon::Exclamation};
    }
    if (grid.sum() != lineQuantity)
        return AllocationRefusal{QStringLiteral("The Serial No Quantity - Write Off Quantity must be equal")};
    if (hasDuplicate(grid, serialcol::SerialNo))
        return AllocationRefusal{QStringLiteral("This Serial No is already entered"), MsgIcon::Exclamation};
    return std::nullopt;
}

bool SerialPolicy::hasSameSerialTwice(const AllocationGrid &grid)
{
    for (int a = 1; a <= grid.dataRowCount(); ++a)
        for (int b = a + 1; b <= grid.dataRowCount(); ++b)
            if (!grid.text(a, serialcol::SerialNo).isEmpty()
                && grid.text(a, serialcol::SerialNo) == grid.text(b, serialcol::SerialNo))
                return true;
    return false;
}

} // namespace shop
