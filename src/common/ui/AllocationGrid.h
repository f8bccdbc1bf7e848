#pragma once

#include "common/core/Decimal.h"
#include "common/ui/Ui.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace shop {

class AllocationGrid;
class FlexGrid;

// How one kind of allocation grid looks: its controls' names, its columns and where
// its two floating editors sit.
struct AllocationLayout {
    QString gridName;
    QString comboName;
    QString quantityName;
    QStringList headers;  // one per column
    QList<double> widths; // share of the grid's width per column; 0 hides the column
    int comboColumn = 1;
    int quantityColumn = 2;
    int typedColumn = -1; // hidden copy of the quantity as typed, if the kind keeps one
};

// What the grid says when a key or a check refuses.
struct AllocationRefusal {
    QString message;
    MsgIcon icon = MsgIcon::Information;
};

// The fixed answers of a kind: its messages and which keys it takes.
struct AllocationRules {
    QString duplicateMessage;     // the combo's entry already stands in another row
    bool duplicateOnPick = false; // refused when picked (else when Enter leaves the combo)
    QString deleteQuestion;
    bool deleteByKey = true;      // Delete in the grid (the popup menu's Delete always works)
    QString zeroMessage;          // Enter on a quantity of 0; empty: nothing said
    bool clearOnZero = false;
    QString overMessage;          // Enter when the rows hold more than the line; empty: nothing said
    bool clearOnOver = false;
    QString limitMessage = QStringLiteral("Quantity cannot be greater than "); // followed by the limit
};

// One kind of allocation (locations, expiry batches, serial numbers): what differs
// between the grids. The grid mechanism asks it and does the rest.
class AllocationPolicy {
public:
    virtual ~AllocationPolicy() = default;
    virtual AllocationLayout layout() const = 0;
    virtual AllocationRules rules() const = 0;
    // The combo's entry `index` was picked for the data row: write what it means.
    virtual void picked(AllocationGrid &grid, int row, int index) = 0;
    // Whether the quantity box takes the typed character.
    virtual bool acceptsQuantityKey(QLineEdit &box, QChar key) = 0;
    // The most the row may take, when something limits it (a batch's or serial's balance).
    virtual std::optional<Decimal> quantityLimit(AllocationGrid &, int) { return std::nullopt; }
    // The checks OK runs on the rows; the first refusal.
    virtual std::optional<AllocationRefusal> checkRows(const AllocationGrid &grid, Decimal lineQuantity) = 0;
};

// An allocation grid: the grid with its fixed header row, the floating combo and
// quantity box over the current cell, and the keys a clerk uses in them. Enter in the
// combo moves to the quantity, Enter on the quantity appends a row while the rows hold
// less than the line (or leaves the grid when they hold all of it), Shift+Enter steps
// back and leaves from the first row; Delete and the popup menu's Delete remove a row.
// Controls are owned by the parent window.
class AllocationGrid : public QObject {
    Q_OBJECT
public:
    AllocationGrid(AllocationPolicy &policy, QWidget *parent);
    // Over a grid the window's form has laid out (named as the policy's layout says).
    AllocationGrid(AllocationPolicy &policy, FlexGrid &grid);

    FlexGrid &grid() const { return *m_grid; }
    QComboBox &combo() const { return *m_combo; }
    QLineEdit &quantityBox() const { return *m_quantity; }
    const AllocationLayout &layout() const { return m_layout; }

    // The quantity of the line the rows are to make up.
    void setLineQuantity(std::function<Decimal()> quantity) { m_lineQuantity = std::move(quantity); }
    void setMessageTitle(const QString &title) { m_title = title; }
    // Called inside a catch block when handling a pick, a key or a click failed (a
    // balance that could not be read); the routine names the editor and the event.
    // Without one the error's text is shown.
    void setErrorTrap(std::function<void(const QString &routine)> trap) { m_trap = std::move(trap); }

    // Back to the header and one empty entry row numbered 1, editors hidden.
    void reset();
    // Replaces the rows (an empty list resets); each row is numbered afresh.
    void setDataRows(const QList<QStringList> &rows);
    // Rows that hold something (the empty entry row does not count).
    QList<QStringList> filledRows() const;
    int dataRowCount() const;
    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    // Appends a row numbered after the last one and returns it.
    int appendRow(QStringList cells = {});
    // Takes a row out (the only row is emptied instead) and numbers the rest 1, 2, ...
    void removeDataRow(int row);

    Decimal sum() const;
    // What the rows still lack of the line's quantity.
    Decimal missing() const;
    // Whether another data row holds the text in the column (blanks and case ignored).
    bool heldElsewhere(int col, int row, const QString &text) const;

    // The editor of the current cell over it, with the focus (VisibleFun).
    void openEditor();
    // Makes the cell current and opens its editor.
    void openCell(int row, int col);
    void hideEditors();
    // Asks and removes the current row (Delete, and the popup menu's Delete).
    void deleteCurrentRow();
    // Coming into the grid from the field before it: the first row's combo.
    void enterGrid();

signals:
    // Enter on a quantity with the rows holding all of the line.
    void leftForward();
    // Shift+Enter from the first row.
    void leftBackward();
    // Right mouse button on the grid.
    void popupRequested(const QPoint &globalPos);
    // The clerk changed the rows (a pick, a quantity, a row added or removed).
    void editedByHand();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Placing an editor: three separate steps.
    void cellToEditor(int row, int col);
    void editorToCell();
    void placeEditor(QWidget *editor, int row, int col);

    void placeForCurrentCell(bool focus);
    void comboPicked(int index);
    void quantityEdited(const QString &text);
    void comboEnter();
    void quantityEnter();
    void completeRow();
    void clearQuantity(int row);
    void stepBack();
    void applyWidths();
    void say(const AllocationRefusal &refusal) const;
    int currentDataRow() const;
    template <typename Work>
    void guarded(const QString &routine, Work &&work);

    AllocationPolicy &m_policy;
    AllocationLayout m_layout;
    AllocationRules m_rules;
    FlexGrid *m_grid;
    QComboBox *m_combo;
    QLineEdit *m_quantity;
    std::function<Decimal()> m_lineQuantity;
    QString m_title;
    std::function<void(const QString &)> m_trap;
    bool m_placing = false;
};

// The quantity text written into a cell: the shortest exact form ("2", "2.5").
QString quantityText(Decimal quantity);

} // namespace shop
