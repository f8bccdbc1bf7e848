#pragma once

#include "common/core/Decimal.h"
#include "common/ui/Ui.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <optional>

class QLineEdit;

namespace shop {

class AllocationModel;

// How one kind of allocation grid looks: its controls' names and its columns.
struct AllocationLayout {
    QString gridName;
    QString comboName;
    QString quantityName;
    QStringList headers;  // one per column
    QList<double> widths; // share of the grid's width per column; 0 hides the column
    int comboColumn = 1;
    int quantityColumn = 2;
    int typedColumn = -1;     // hidden copy of the quantity as typed, if the kind keeps one
    bool fixedThree = false;  // quantities shown with three decimals
};

// What the grid says when a key or a check refuses.
struct AllocationRefusal {
    QString message;
    MsgIcon icon = MsgIcon::Information;
};

// The fixed answers of a kind: its messages and which keys it takes.
struct AllocationRules {
    QString duplicateMessage;     // the entry already stands in another row
    bool duplicateOnPick = false; // refused when picked (else when Enter leaves the entry cell)
    QString deleteQuestion;
    bool deleteByKey = true;      // Delete in the grid (the popup menu's Delete always works)
    QString zeroMessage;          // Enter on a quantity of 0; empty: nothing said
    bool clearOnZero = false;
    QString overMessage;          // Enter when the rows hold more than the line; empty: nothing said
    bool clearOnOver = false;
    QString limitMessage = QStringLiteral("Quantity cannot be greater than "); // followed by the limit
    // A label typed or scanned into the entry cell is taken as a pick; the list then
    // offers only what no other row holds. Not listed: prefix + label + suffix.
    bool takesLabels = false;
    QString notListedPrefix;
    QString notListedSuffix;
    // Any key but the grid's own drops the entry list.
    bool otherKeysDropList = false;
};

// One kind of allocation (locations, expiry batches, serial numbers): what differs
// between the grids, as rules over the rows. The grid mechanism asks it and does the rest.
class AllocationPolicy {
public:
    virtual ~AllocationPolicy() = default;
    virtual AllocationLayout layout() const = 0;
    virtual AllocationRules rules() const = 0;
    // The list's entry (its text and data) was picked for the row: write what it means.
    virtual void picked(AllocationModel &rows, int row, const QString &entry, const QVariant &data) = 0;
    // Whether the quantity box takes the typed character.
    virtual bool acceptsQuantityKey(QLineEdit &box, QChar key) = 0;
    // The most the row may take, when something limits it (a batch's or serial's balance).
    virtual std::optional<Decimal> quantityLimit(const AllocationModel &, int) { return std::nullopt; }
    // The checks OK runs on the rows; the first refusal.
    virtual std::optional<AllocationRefusal> checkRows(const AllocationModel &rows, Decimal lineQuantity) = 0;
    // A word on the row shown over it (an expired batch); empty for none.
    virtual QString rowNote(const AllocationModel &, int) const { return {}; }
};

// The rows of one allocation grid: text cells with the quantity held exactly. Rows are
// counted from 1 as the grid numbers them ("Sl No"); the number is the row's place, so
// removing a row renumbers the rest.
class AllocationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit AllocationModel(AllocationLayout layout, QObject *parent = nullptr);

    const AllocationLayout &layout() const { return m_layout; }
    // The quantity of the line the rows are to make up.
    void setLineQuantity(std::function<Decimal()> quantity) { m_lineQuantity = std::move(quantity); }
    Decimal lineQuantity() const { return m_lineQuantity ? m_lineQuantity() : Decimal(); }
    void setRowNote(std::function<QString(int row)> note) { m_note = std::move(note); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Back to one empty row numbered 1.
    void reset();
    // Replaces the rows (an empty list resets).
    void setRows(const QList<QStringList> &rows);
    // Rows that hold something (an empty entry row does not count), the quantity in its
    // shortest exact form.
    QList<QStringList> filledRows() const;
    int count() const { return static_cast<int>(m_rows.size()); }

    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    // None while the cell is empty.
    std::optional<Decimal> quantity(int row) const;
    void setQuantity(int row, std::optional<Decimal> quantity);
    // As typed into the quantity box: the exact figure, and the text in the typed column.
    void setTypedQuantity(int row, const QString &typed);
    int appendRow(QStringList cells = {});
    // Takes a row out (the only row is emptied instead).
    void removeRow(int row);

    Decimal sum() const;
    // What the rows still lack of the line's quantity.
    Decimal missing() const;
    // Whether another row holds the text in the column (blanks and case ignored).
    bool heldElsewhere(int col, int row, const QString &text) const;
    // Whether two rows hold the same text in the column (blanks and case ignored).
    bool hasDuplicate(int col) const;

private:
    struct Row {
        QStringList cells;
        std::optional<Decimal> quantity;
        bool operator==(const Row &) const = default;
    };
    Row emptyRow() const;
    void cellChanged(int row, int col);

    AllocationLayout m_layout;
    QList<Row> m_rows;
    std::function<Decimal()> m_lineQuantity;
    std::function<QString(int)> m_note;
};

// The quantity text written into a cell: the shortest exact form ("2", "2.5").
QString quantityText(Decimal quantity);

} // namespace shop
