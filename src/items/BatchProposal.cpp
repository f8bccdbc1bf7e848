#include "items/BatchProposal.h"

#include "common/core/AllocationColumns.h"
#include "common/core/Conversions.h"
#include "common/ui/AllocationModel.h"

#include <QSet>
#include <algorithm>

namespace shop {

QList<QStringList> proposeBatches(QList<BatchBalance> balances, Decimal quantity)
{
    std::stable_sort(balances.begin(), balances.end(), [](const BatchBalance &a, const BatchBalance &b) {
        if (a.expiryDate != b.expiryDate)
            return a.expiryDate < b.expiryDate;
        return a.batchNo < b.batchNo;
    });
    QList<QStringList> rows;
    QSet<QString> taken;
    Decimal remaining = quantity;
    for (const BatchBalance &batch : balances) {
        if (remaining <= Decimal())
            break;
        // A batch stands in one row only (the earlier date came first).
        if (batch.batchNo.trimmed().isEmpty() || taken.contains(batch.batchNo.trimmed().toUpper()))
            continue;
        taken.insert(batch.batchNo.trimmed().toUpper());
        const Decimal part = std::min(batch.quantity, remaining);
        QStringList cells(AllocationColumnCount - 1);
        cells[expirycol::Row] = QString::number(rows.size() + 1);
        cells[expirycol::BatchNo] = batch.batchNo;
        cells[expirycol::ExpiryDate] = displayDate(batch.expiryDate);
        cells[expirycol::Quantity] = quantityText(part);
        cells[expirycol::PackingQty] = cells[expirycol::Quantity];
        rows << cells;
        remaining = remaining - part;
    }
    return rows;
}

bool isExpired(const QDate &expiry, const QDate &processDate)
{
    return expiry.isValid() && processDate.isValid() && expiry < processDate;
}

} // namespace shop
