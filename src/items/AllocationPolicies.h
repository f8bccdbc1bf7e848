#pragma once

#include "common/ui/AllocationGrid.h"
#include "stock/StockBalances.h"

#include <memory>

namespace shop {

class clsCommonGen;

// What the three policies share with the item window: the balances and whose they
// are (the item on screen and the stored return being changed).
struct AllocationContext {
    explicit AllocationContext(Connection &con);
    ~AllocationContext();

    StockBalances balances;
    BalanceOwner owner;
    bool serialsMayRepeat = false;
    QDate processDate; // batches expiring before it are marked
    std::shared_ptr<clsCommonGen> gen;

    // The numeric key filter of the suite's text boxes.
    bool acceptsNumberKey(QLineEdit &box, QChar key, int maxLength, int decimals) const;
};

// Locations: any location of the shop, named in the combo; a pick proposes what the
// line still lacks. Only the total is checked against the line.
class LocationPolicy final : public AllocationPolicy {
public:
    explicit LocationPolicy(AllocationContext &context) : m_context(context) {}
    AllocationLayout layout() const override;
    AllocationRules rules() const override;
    void picked(AllocationModel &rows, int row, const QString &entry, const QVariant &data) override;
    bool acceptsQuantityKey(QLineEdit &box, QChar key) override;
    std::optional<AllocationRefusal> checkRows(const AllocationModel &rows, Decimal lineQuantity) override;

private:
    AllocationContext &m_context;
};

// Expiry batches: a pick fills the batch's expiry date, and its balance limits the
// quantity; whole units only.
class ExpiryPolicy final : public AllocationPolicy {
public:
    explicit ExpiryPolicy(AllocationContext &context) : m_context(context) {}
    AllocationLayout layout() const override;
    AllocationRules rules() const override;
    void picked(AllocationModel &rows, int row, const QString &entry, const QVariant &data) override;
    bool acceptsQuantityKey(QLineEdit &box, QChar key) override;
    std::optional<Decimal> quantityLimit(const AllocationModel &rows, int row) override;
    std::optional<AllocationRefusal> checkRows(const AllocationModel &rows, Decimal lineQuantity) override;
    QString rowNote(const AllocationModel &rows, int row) const override;

private:
    // The balance of the row's batch; none while the row names no batch.
    std::optional<Decimal> batchBalance(const AllocationModel &rows, int row) const;

    AllocationContext &m_context;
};

// Serial numbers: each stands for one unit, or, for an item whose serials may
// repeat, for as many as its balance.
class SerialPolicy final : public AllocationPolicy {
public:
    explicit SerialPolicy(AllocationContext &context) : m_context(context) {}
    AllocationLayout layout() const override;
    AllocationRules rules() const override;
    void picked(AllocationModel &rows, int row, const QString &entry, const QVariant &data) override;
    bool acceptsQuantityKey(QLineEdit &box, QChar key) override;
    std::optional<Decimal> quantityLimit(const AllocationModel &rows, int row) override;
    std::optional<AllocationRefusal> checkRows(const AllocationModel &rows, Decimal lineQuantity) override;

    // Two rows holding exactly the same serial text.
    static bool hasSameSerialTwice(const AllocationModel &rows);

private:
    AllocationContext &m_context;
};

} // namespace shop
