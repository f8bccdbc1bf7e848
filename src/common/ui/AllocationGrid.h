#pragma once

#include "common/ui/AllocationModel.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QWidget;

namespace shop {

class AllocationDelegate;

// One entry of a grid's list: what the cell shows, the id it stands for, and a word
// shown beside it in the list and over the row that takes it (an expired batch).
struct AllocationEntry {
    QString text;
    QVariant data;
    QString note;
    bool operator==(const AllocationEntry &) const = default;
};

// An allocation grid: a table view over the line's rows, the named combo and quantity
// box as the cell's editors, and the keys a clerk uses in them. Enter in the combo
// moves to the quantity, Enter on the quantity appends a row while the rows hold less
// than the line (or leaves the grid when they hold all of it), Shift+Enter steps back
// and leaves from the first row; Delete and the popup menu's Delete remove a row. For
// a kind that takes labels, text typed or scanned into the combo and Enter is a pick,
// and its list offers only what no other row holds. Controls are owned by the window.
class AllocationGrid : public QObject {
    Q_OBJECT
public:
    // Over a view the window's form has laid out (named as the policy's layout says).
    AllocationGrid(AllocationPolicy &policy, QTableView &view);
    // Over a view of its own, a child of `parent`.
    AllocationGrid(AllocationPolicy &policy, QWidget *parent);
    ~AllocationGrid() override;

    QTableView &grid() const { return *m_view; }
    AllocationModel &rows() { return m_model; }
    const AllocationModel &rows() const { return m_model; }
    // The combo, holding the entries last given.
    QComboBox &combo() const
    {
        listEntries();
        return *m_combo;
    }
    QLineEdit &quantityBox() const { return *m_quantity; }
    const AllocationLayout &layout() const { return m_model.layout(); }

    void setLineQuantity(std::function<Decimal()> quantity) { m_model.setLineQuantity(std::move(quantity)); }
    void setMessageTitle(const QString &title) { m_title = title; }
    // Called inside a catch block when handling a pick, a key or a click failed (a
    // balance that could not be read); the routine names the editor and the event.
    // Without one the error's text is shown.
    void setErrorTrap(std::function<void(const QString &routine)> trap) { m_trap = std::move(trap); }

    // What the combo lists (in this order), once the clerk reaches it.
    void setEntries(const QList<AllocationEntry> &entries);
    // Every entry listed, and those the combo offers the current row (all of them for a
    // kind without labels).
    QStringList entries() const;
    QStringList offeredEntries() const;

    // Back to one empty entry row numbered 1, editors hidden.
    void reset();
    // Replaces the rows (an empty list resets); each row is numbered afresh.
    void setDataRows(const QList<QStringList> &rows);
    QList<QStringList> filledRows() const { return m_model.filledRows(); }
    int dataRowCount() const { return m_model.count(); }
    QString text(int row, int col) const { return m_model.text(row, col); }
    void setText(int row, int col, const QString &text) { m_model.setText(row, col, text); }
    Decimal sum() const { return m_model.sum(); }
    Decimal missing() const { return m_model.missing(); }
    // The current row (1 for the first), 0 without one.
    int currentRow() const;
    int currentColumn() const;

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
    friend class AllocationDelegate;
    // The delegate's side: which editor a cell takes, and what it shows.
    QWidget *editorFor(const QModelIndex &index);
    void editorOpened(QWidget *editor, const QModelIndex &index);
    void editorClosed(QWidget *editor);
    void cellToEditor(const QModelIndex &index);
    bool editorKey(QWidget *editor, const QKeyEvent &key);

    void comboPicked(int index);
    void quantityEdited(const QString &text);
    void comboEnter();
    // A typed or scanned label: picks its entry, or says why not and empties the cell.
    bool takeLabel(int row, const QString &label);
    void quantityEnter();
    void completeRow();
    void clearQuantity(int row);
    void stepBack();
    void leaveByTab(bool backwards);
    void applyWidths();
    // Fills the combo with the entries given since it was last filled.
    void listEntries() const;
    void say(const AllocationRefusal &refusal) const;
    template <typename Work>
    void guarded(const QString &routine, Work &&work);

    AllocationPolicy &m_policy;
    AllocationRules m_rules;
    AllocationModel m_model;
    QTableView *m_view;
    AllocationDelegate *m_delegate;
    QComboBox *m_combo;
    QLineEdit *m_quantity;
    QStandardItemModel *m_entries = nullptr;    // kinds that take labels: every entry
    QSortFilterProxyModel *m_offered = nullptr; // ... and what the combo lists of them
    QList<AllocationEntry> m_listed;            // what the combo was last given
    mutable bool m_listStale = false;           // ... and does not list yet
    QPointer<QWidget> m_open;                   // the editor on screen, if any
    QPersistentModelIndex m_openIndex;
    QString m_title;
    std::function<void(const QString &)> m_trap;
    bool m_writing = false; // an editor is writing into its cell: the cell does not write back
};

} // namespace shop
