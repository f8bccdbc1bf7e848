#include "common/ui/AllocationGrid.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/ui/KeyRuleValidator.h"
#include "common/ui/NamedWidget.h"
#include "common/ui/Twips.h"

#include <QBrush>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace shop {

namespace {

constexpr int kRowHeightTwips = 315;
constexpr int NoteRole = Qt::UserRole + 1;

bool isEnter(const QKeyEvent &key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

// Keys that are not the clerk's answer to the list: modifiers and the window's own keys.
bool leavesListAlone(const QKeyEvent &key)
{
    const int k = key.key();
    return k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt || k == Qt::Key_Meta || k == Qt::Key_AltGr
        || k == Qt::Key_CapsLock || k == Qt::Key_NumLock || (k >= Qt::Key_F1 && k <= Qt::Key_F35)
        || key.modifiers().testAnyFlags(Qt::AltModifier | Qt::ControlModifier);
}

// The entries the current row may take: none that another row holds. An entry with a
// note (an expired batch) shows it in the list.
class OfferFilter final : public QSortFilterProxyModel {
public:
    OfferFilter(std::function<bool(const QString &)> offered, QObject *parent)
        : QSortFilterProxyModel(parent), m_offered(std::move(offered))
    {
    }
    void refresh() { invalidate(); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const QString note = QSortFilterProxyModel::data(index, NoteRole).toString();
        if (!note.isEmpty()) {
            if (role == Qt::DisplayRole)
                return QSortFilterProxyModel::data(index, Qt::EditRole).toString() + QStringLiteral("  (") + note
                    + QLatin1Char(')');
            if (role == Qt::ForegroundRole)
                return QBrush(Qt::red);
        }
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &parent) const override
    {
        return m_offered(sourceModel()->index(sourceRow, 0, parent).data(Qt::EditRole).toString());
    }

private:
    std::function<bool(const QString &)> m_offered;
};

} // namespace

// The cell's editors are the grid's two named controls, shown over the cell while it
// is edited and kept (hidden) between edits. The grid writes into the rows as the clerk
// picks and types, so committing has nothing left to do.
class AllocationDelegate final : public QStyledItemDelegate {
public:
    AllocationDelegate(AllocationGrid &grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        return m_grid.editorFor(index);
    }
    void destroyEditor(QWidget *editor, const QModelIndex &) const override { m_grid.editorClosed(editor); }
    void setEditorData(QWidget *, const QModelIndex &index) const override { m_grid.cellToEditor(index); }
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        editor->setGeometry(option.rect);
    }
    void close(QWidget *editor) { emit closeEditor(editor, QAbstractItemDelegate::NoHint); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::KeyPress && editor)
            return m_grid.editorKey(editor, *static_cast<QKeyEvent *>(event));
        // A message box or the list taking the focus leaves the editor where it is.
        if (event->type() == QEvent::FocusOut)
            return false;
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    AllocationGrid &m_grid;
};

template <typename Work>
void AllocationGrid::guarded(const QString &routine, Work &&work)
{
    try {
        work();
    } catch (...) {
        if (m_trap) {
            m_trap(routine);
            return;
        }
        QString text = QStringLiteral("The grid could not do that.");
        try {
            throw;
        } catch (const ModuleError &e) {
            text = e.description();
        } catch (const std::exception &e) {
            text = QString::fromLocal8Bit(e.what());
        } catch (...) {
        }
        Ui::current().message(text, MsgIcon::Critical, m_title);
    }
}

AllocationGrid::AllocationGrid(AllocationPolicy &policy, QWidget *parent)
    : AllocationGrid(policy, *namedWidget<QTableView>(parent, policy.layout().gridName))
{
}

AllocationGrid::AllocationGrid(AllocationPolicy &policy, QTableView &view)
    : QObject(view.parentWidget()), m_policy(policy), m_rules(policy.rules()), m_model(policy.layout()), m_view(&view)
{
    const AllocationLayout &l = layout();
    m_model.setRowNote([this](int row) { return m_policy.rowNote(m_model, row); });
    m_view->setModel(&m_model);
    m_delegate = new AllocationDelegate(*this);
    m_view->setItemDelegate(m_delegate);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid: moving between cells is the editors' work.
    m_view->setTabKeyNavigation(false);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowHeightTwips));
    m_view->horizontalHeader()->setStretchLastSection(false);

    m_combo = namedWidget<QComboBox>(m_view->viewport(), l.comboName);
    m_quantity = namedWidget<QLineEdit>(m_view->viewport(), l.quantityName);
    m_quantity->setAlignment(Qt::AlignRight);
    m_quantity->setValidator(new KeyRuleValidator(
        [this](QLineEdit &box, QChar key) { return m_policy.acceptsQuantityKey(box, key); }, m_quantity));
    if (m_rules.takesLabels) {
        // The cell takes what a scanner types; a prefix of a longer label must stay as read.
        m_combo->setEditable(true);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->setCompleter(nullptr);
        m_entries = new QStandardItemModel(this);
        m_offered = new OfferFilter(
            [this](const QString &entry) {
                return !m_model.heldElsewhere(layout().comboColumn, currentRow(), entry);
            },
            this);
        m_offered->setSourceModel(m_entries);
        m_combo->setModel(m_offered);
    }
    m_combo->hide();
    m_quantity->hide();

    connect(m_combo, &QComboBox::activated, this,
            [this](int index) { guarded(layout().comboName + QStringLiteral("_Click"), [&] { comboPicked(index); }); });
    connect(m_quantity, &QLineEdit::textEdited, this, [this](const QString &text) {
        guarded(layout().quantityName + QStringLiteral("_Change"), [&] { quantityEdited(text); });
    });
    connect(m_view, &QTableView::clicked, this, [this](const QModelIndex &index) {
        const int col = index.column() == layout().quantityColumn ? index.column() : layout().comboColumn;
        guarded(layout().gridName + QStringLiteral("_Click"), [&] { openCell(index.row() + 1, col); });
    });
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    applyWidths();
}

AllocationGrid::~AllocationGrid() = default;

void AllocationGrid::setEntries(const QList<AllocationEntry> &entries)
{
    hideEditors();
    // The combo is filled when the clerk reaches it: a scan that never comes to this
    // grid's list, or brings the same list again, leaves it alone.
    if (entries == m_listed)
        return;
    m_listed = entries;
    m_listStale = true;
}

void AllocationGrid::listEntries() const
{
    if (!m_listStale)
        return;
    m_listStale = false;
    // Rows added one by one would each tell the combo and the filter; the list goes in at once.
    auto *model = m_entries ? m_entries : qobject_cast<QStandardItemModel *>(m_combo->model());
    if (!model) {
        m_combo->clear();
        for (const AllocationEntry &e : m_listed)
            m_combo->addItem(e.text, e.data);
        return;
    }
    model->clear();
    QList<QStandardItem *> items;
    items.reserve(m_listed.size());
    for (const AllocationEntry &e : m_listed) {
        auto *item = new QStandardItem(e.text);
        item->setData(e.data, Qt::UserRole);
        if (!e.note.isEmpty())
            item->setData(e.note, NoteRole);
        items << item;
    }
    model->invisibleRootItem()->appendRows(items);
}

QStringList AllocationGrid::entries() const
{
    if (!m_entries)
        return offeredEntries();
    QStringList out;
    for (const AllocationEntry &e : m_listed)
        out << e.text;
    return out;
}

QStringList AllocationGrid::offeredEntries() const
{
    listEntries();
    if (m_offered)
        static_cast<OfferFilter *>(m_offered)->refresh();
    QStringList out;
    for (int i = 0; i < m_combo->count(); ++i)
        out << m_combo->itemText(i);
    return out;
}

void AllocationGrid::reset() { setDataRows({}); }

void AllocationGrid::setDataRows(const QList<QStringList> &rows)
{
    hideEditors();
    m_model.setRows(rows);
}

int AllocationGrid::currentRow() const
{
    const QModelIndex at = m_view->currentIndex();
    return at.isValid() ? at.row() + 1 : 0;
}

int AllocationGrid::currentColumn() const { return m_view->currentIndex().column(); }

// --- Editors -----------------------------------------------------------------------------

QWidget *AllocationGrid::editorFor(const QModelIndex &index)
{
    QWidget *editor = index.column() == layout().comboColumn ? static_cast<QWidget *>(m_combo) : m_quantity;
    m_open = editor;
    m_openIndex = index;
    return editor;
}

void AllocationGrid::editorClosed(QWidget *editor)
{
    editor->hide();
    if (m_open == editor) {
        m_open = nullptr;
        m_openIndex = QPersistentModelIndex();
    }
}

void AllocationGrid::cellToEditor(const QModelIndex &index)
{
    if (m_writing)
        return;
    const int row = index.row() + 1;
    if (index.column() == layout().comboColumn) {
        listEntries();
        if (m_offered)
            static_cast<OfferFilter *>(m_offered)->refresh();
        const QString cell = m_model.text(row, index.column()).trimmed();
        // An empty row shows nothing chosen.
        const int at = cell.isEmpty() ? -1 : m_combo->findText(cell, Qt::MatchFixedString);
        m_combo->setCurrentIndex(at);
        if (m_combo->isEditable() && at < 0)
            m_combo->setEditText(cell);
        return;
    }
    const auto quantity = m_model.quantity(row);
    m_quantity->setText(quantity ? quantityText(*quantity) : formatNumber(m_model.missing(), fmt::Fixed3));
}

void AllocationGrid::openEditor()
{
    int row = currentRow();
    int col = currentColumn();
    if (row < 1)
        row = 1;
    if (col != layout().comboColumn && col != layout().quantityColumn)
        col = layout().comboColumn;
    openCell(row, col);
}

void AllocationGrid::openCell(int row, int col)
{
    if (row < 1 || row > m_model.count())
        return;
    const QModelIndex at = m_model.index(row - 1, col);
    if (m_open && m_openIndex == at) {
        m_open->setFocus(Qt::OtherFocusReason);
        return;
    }
    hideEditors();
    m_view->setCurrentIndex(at);
    m_view->scrollTo(at);
    m_view->edit(at);
    if (!m_open)
        return;
    m_open->setFocus(Qt::OtherFocusReason);
    // What the clerk types or scans next replaces what the cell shows.
    if (m_open == m_quantity)
        m_quantity->selectAll();
    else if (m_combo->isEditable())
        m_combo->lineEdit()->selectAll();
}

void AllocationGrid::hideEditors()
{
    if (m_open)
        m_delegate->close(m_open);
    // A view that did not take the editor back (never shown) leaves it to us.
    if (m_open) {
        m_open->hide();
        m_open = nullptr;
        m_openIndex = QPersistentModelIndex();
    }
}

void AllocationGrid::enterGrid() { openCell(1, layout().comboColumn); }

// --- Picks and quantities ----------------------------------------------------------------

void AllocationGrid::comboPicked(int index)
{
    const int row = currentRow();
    if (row < 1)
        return;
    const int col = layout().comboColumn;
    if (index < 0) {
        m_model.setText(row, col, QString());
        return;
    }
    const QString entry = m_combo->itemText(index);
    if (m_rules.duplicateOnPick && m_model.heldElsewhere(col, row, entry)) {
        // The row keeps what it had; the combo stays on the refused entry so that the
        // next Down moves on to the one after it.
        say({m_rules.duplicateMessage, MsgIcon::Exclamation});
        return;
    }
    m_writing = true;
    m_policy.picked(m_model, row, entry, m_combo->itemData(index));
    m_writing = false;
    if (m_open == m_quantity || m_quantity->isVisible())
        cellToEditor(m_model.index(row - 1, layout().quantityColumn));
    else if (const auto q = m_model.quantity(row))
        m_quantity->setText(quantityText(*q));
    emit editedByHand();
}

void AllocationGrid::quantityEdited(const QString &text)
{
    const int row = currentRow();
    if (row < 1)
        return;
    QString typed = text;
    if (const auto limit = m_policy.quantityLimit(m_model, row); limit && valDecimal(text) > *limit) {
        say({m_rules.limitMessage + quantityText(*limit), MsgIcon::Information});
        typed = quantityText(*limit);
        m_quantity->setText(typed);
    }
    m_writing = true;
    m_model.setTypedQuantity(row, typed);
    m_writing = false;
    emit editedByHand();
}

bool AllocationGrid::takeLabel(int row, const QString &label)
{
    const int col = layout().comboColumn;
    const QString wanted = label.trimmed().toUpper();
    const auto refuse = [&](const AllocationRefusal &refusal) {
        say(refusal);
        // The cell is left empty, ready for the next scan.
        m_writing = true;
        m_model.setText(row, col, QString());
        m_writing = false;
        openCell(row, col);
        m_combo->setCurrentIndex(-1);
        m_combo->clearEditText();
        return false;
    };
    listEntries();
    for (int i = 0; i < m_entries->rowCount(); ++i) {
        const QStandardItem *item = m_entries->item(i);
        if (item->text().trimmed().toUpper() != wanted)
            continue;
        if (m_model.heldElsewhere(col, row, item->text()))
            return refuse({m_rules.duplicateMessage, MsgIcon::Exclamation});
        m_writing = true;
        m_policy.picked(m_model, row, item->text(), item->data(Qt::UserRole));
        m_writing = false;
        if (const auto q = m_model.quantity(row))
            m_quantity->setText(quantityText(*q));
        cellToEditor(m_model.index(row - 1, col));
        emit editedByHand();
        return true;
    }
    return refuse({m_rules.notListedPrefix + label.trimmed() + m_rules.notListedSuffix, MsgIcon::Exclamation});
}

void AllocationGrid::comboEnter()
{
    const int row = currentRow();
    if (row < 1)
        return;
    const int col = layout().comboColumn;
    if (m_rules.takesLabels) {
        const QString typed = m_combo->currentText();
        if (!typed.trimmed().isEmpty() && typed != m_model.text(row, col) && !takeLabel(row, typed))
            return;
    }
    if (!m_rules.duplicateOnPick && !m_rules.duplicateMessage.isEmpty()
        && m_model.heldElsewhere(col, row, m_model.text(row, col))) {
        say({m_rules.duplicateMessage, MsgIcon::Exclamation});
        return;
    }
    if (m_quantity->isEnabled())
        openCell(row, layout().quantityColumn);
    else
        completeRow();
}

void AllocationGrid::quantityEnter()
{
    const int row = currentRow();
    if (row >= 1 && currentColumn() == layout().quantityColumn) {
        m_writing = true;
        m_model.setTypedQuantity(row, m_quantity->text());
        m_writing = false;
    }
    completeRow();
}

void AllocationGrid::completeRow()
{
    const int row = currentRow();
    if (row < 1)
        return;
    const Decimal quantity = m_model.quantity(row).value_or(Decimal());
    if (quantity.isZero() && !m_rules.zeroMessage.isEmpty()) {
        say({m_rules.zeroMessage, MsgIcon::Information});
        if (m_rules.clearOnZero)
            clearQuantity(row);
        return;
    }
    const Decimal total = m_model.sum();
    const Decimal line = m_model.lineQuantity();
    if (total > line) {
        if (!m_rules.overMessage.isEmpty())
            say({m_rules.overMessage, MsgIcon::Information});
        if (m_rules.clearOnOver)
            clearQuantity(row);
        return;
    }
    if (total == line) {
        hideEditors();
        emit leftForward();
        return;
    }
    if (row < m_model.count()) {
        openCell(row + 1, layout().comboColumn);
        return;
    }
    if (m_model.text(row, layout().comboColumn).trimmed().isEmpty() || quantity.isZero())
        return;
    const int added = m_model.appendRow();
    emit editedByHand();
    openCell(added, layout().comboColumn);
}

void AllocationGrid::clearQuantity(int row)
{
    m_quantity->clear();
    m_writing = true;
    m_model.setQuantity(row, std::nullopt);
    m_writing = false;
}

void AllocationGrid::stepBack()
{
    const int row = currentRow();
    if (currentColumn() == layout().quantityColumn && row >= 1) {
        openCell(row, layout().comboColumn);
        return;
    }
    if (row > 1) {
        openCell(row - 1, m_quantity->isEnabled() ? layout().quantityColumn : layout().comboColumn);
        return;
    }
    hideEditors();
    emit leftBackward();
}

void AllocationGrid::leaveByTab(bool backwards)
{
    hideEditors();
    Ui::current().focusNext(m_view, backwards);
}

void AllocationGrid::deleteCurrentRow()
{
    const int row = currentRow();
    if (row < 1)
        return;
    hideEditors();
    if (Ui::current().ask(m_rules.deleteQuestion, MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question, m_title)
        != MsgAnswer::Yes)
        return;
    m_model.removeRow(row);
    emit editedByHand();
}

void AllocationGrid::applyWidths()
{
    const int width = m_view->viewport()->width();
    for (int c = 0; c < m_model.columnCount(); ++c) {
        const double share = layout().widths.value(c);
        m_view->setColumnHidden(c, share <= 0);
        if (share > 0)
            m_view->setColumnWidth(c, static_cast<int>(width * share));
    }
}

void AllocationGrid::say(const AllocationRefusal &refusal) const { Ui::current().message(refusal.message, refusal.icon, m_title); }

// --- Keys --------------------------------------------------------------------------------

bool AllocationGrid::editorKey(QWidget *editor, const QKeyEvent &key)
{
    const bool shift = key.modifiers().testFlag(Qt::ShiftModifier);
    const QString routine = editor->objectName() + QStringLiteral("_KeyUp");
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
        leaveByTab(key.key() == Qt::Key_Backtab || shift);
        return true;
    }
    if (isEnter(key)) {
        guarded(routine, [&] {
            if (shift)
                stepBack();
            else if (editor == m_combo)
                comboEnter();
            else
                quantityEnter();
        });
        return true;
    }
    if (editor == m_combo) {
        if (key.key() == Qt::Key_Delete && !m_rules.takesLabels) {
            if (m_rules.deleteByKey)
                deleteCurrentRow();
            return true;
        }
        if (m_rules.otherKeysDropList && !leavesListAlone(key))
            Ui::current().sendKey(m_combo, Qt::Key_Down, Qt::AltModifier);
        return false;
    }
    const QString typed = key.text();
    return typed.size() == 1 && typed.at(0).isPrint() && !m_policy.acceptsQuantityKey(*m_quantity, typed.at(0));
}

bool AllocationGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::Resize)
            applyWidths();
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                hideEditors();
                const QModelIndex at = m_view->indexAt(mouse->position().toPoint());
                if (at.isValid())
                    m_view->setCurrentIndex(at);
                emit popupRequested(mouse->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    }
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (key.key() == Qt::Key_Delete) {
        if (m_rules.deleteByKey)
            deleteCurrentRow();
        return true;
    }
    if (!isEnter(key))
        return false;
    guarded(m_view->objectName() + QStringLiteral("_KeyUp"), [&] {
        if (key.modifiers().testFlag(Qt::ShiftModifier))
            stepBack();
        else
            openEditor();
    });
    return true;
}

} // namespace shop
