#include "common/ui/AllocationGrid.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/ui/FlexGrid.h"
#include "common/ui/KeyRuleValidator.h"
#include "common/ui/NamedWidget.h"
#include "common/ui/Twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

namespace shop {

namespace {

constexpr int kRowHeightTwips = 315;

bool isEnter(const QKeyEvent *key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

} // namespace

QString quantityText(Decimal quantity)
{
    QString text = quantity.toString(3);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

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
    : AllocationGrid(policy, *namedWidget<FlexGrid>(parent, policy.layout().gridName))
{
}

AllocationGrid::AllocationGrid(AllocationPolicy &policy, FlexGrid &grid)
    : QObject(grid.parentWidget()), m_policy(policy), m_layout(policy.layout()), m_rules(policy.rules()), m_grid(&grid)
{
    m_grid->setCols(static_cast<int>(m_layout.headers.size()));
    for (int c = 0; c < m_grid->cols(); ++c)
        m_grid->setTextMatrix(0, c, m_layout.headers.at(c));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the grid: moving between cells is the editors' work.
    m_grid->setTabKeyNavigation(false);
    m_grid->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowHeightTwips));
    m_grid->horizontalHeader()->setStretchLastSection(false);

    // The editors float over the cells, inside the grid's viewport.
    m_combo = namedWidget<QComboBox>(m_grid->viewport(), m_layout.comboName);
    m_quantity = namedWidget<QLineEdit>(m_grid->viewport(), m_layout.quantityName);
    m_quantity->setAlignment(Qt::AlignRight);
    m_quantity->setValidator(new KeyRuleValidator(
        [this](QLineEdit &box, QChar key) { return m_policy.acceptsQuantityKey(box, key); }, m_quantity));
    m_combo->hide();
    m_quantity->hide();
    // Tab passes through the editors right after their grid, wherever the grid was made.
    QWidget::setTabOrder(m_grid, m_combo);
    QWidget::setTabOrder(m_combo, m_quantity);

    connect(m_combo, &QComboBox::activated, this,
            [this](int index) { guarded(m_layout.comboName + QStringLiteral("_Click"), [&] { comboPicked(index); }); });
    connect(m_quantity, &QLineEdit::textEdited, this, [this](const QString &text) {
        guarded(m_layout.quantityName + QStringLiteral("_Change"), [&] { quantityEdited(text); });
    });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int, int column) {
        if (column != m_layout.comboColumn && column != m_layout.quantityColumn)
            m_grid->setCol(m_layout.comboColumn);
        guarded(m_layout.gridName + QStringLiteral("_Click"), [&] { placeForCurrentCell(true); });
    });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] {
        if (!m_placing && (m_combo->isVisible() || m_quantity->isVisible()))
            placeForCurrentCell(false);
    });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this, &AllocationGrid::hideEditors);
    connect(m_grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, &AllocationGrid::hideEditors);
    for (QObject *o : std::initializer_list<QObject *>{m_grid, m_grid->viewport(), m_combo, m_quantity})
        o->installEventFilter(this);
    applyWidths();
    reset();
}

void AllocationGrid::reset()
{
    m_placing = true;
    m_grid->setRows(2);
    for (int c = 0; c < m_grid->cols(); ++c)
        m_grid->setTextMatrix(1, c, QString());
    m_grid->setTextMatrix(1, 0, QStringLiteral("1"));
    m_placing = false;
    hideEditors();
}

void AllocationGrid::setDataRows(const QList<QStringList> &rows)
{
    if (rows.isEmpty()) {
        reset();
        return;
    }
    hideEditors();
    m_placing = true;
    m_grid->setRows(static_cast<int>(rows.size()) + 1);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < m_grid->cols(); ++c)
            m_grid->setTextMatrix(r + 1, c, rows.at(r).value(c));
        m_grid->setTextMatrix(r + 1, 0, QString::number(r + 1));
    }
    m_placing = false;
}

QList<QStringList> AllocationGrid::filledRows() const
{
    QList<QStringList> rows;
    for (int r = 1; r < m_grid->rows(); ++r) {
        QStringList cells;
        bool filled = false;
        for (int c = 0; c < m_grid->cols(); ++c) {
            cells << m_grid->textMatrix(r, c);
            filled = filled || (c > 0 && !cells.last().trimmed().isEmpty());
        }
        if (filled)
            rows << cells;
    }
    return rows;
}

int AllocationGrid::dataRowCount() const { return m_grid->rows() - 1; }

QString AllocationGrid::text(int row, int col) const { return m_grid->textMatrix(row, col); }

void AllocationGrid::setText(int row, int col, const QString &text) { m_grid->setTextMatrix(row, col, text); }

int AllocationGrid::appendRow(QStringList cells)
{
    const int last = m_grid->rows() - 1;
    const int number = last >= 1 ? static_cast<int>(val(m_grid->textMatrix(last, 0))) + 1 : 1;
    cells.resize(m_grid->cols());
    cells[0] = QString::number(number);
    m_placing = true;
    m_grid->setRows(last + 2);
    for (int c = 0; c < m_grid->cols(); ++c)
        m_grid->setTextMatrix(last + 1, c, cells.at(c));
    m_placing = false;
    return last + 1;
}

void AllocationGrid::removeDataRow(int row)
{
    if (row < 1 || row >= m_grid->rows())
        return;
    m_placing = true;
    if (dataRowCount() == 1) {
        for (int c = 1; c < m_grid->cols(); ++c)
            m_grid->setTextMatrix(1, c, QString());
    } else {
        m_grid->removeItem(row);
    }
    for (int r = 1; r < m_grid->rows(); ++r)
        m_grid->setTextMatrix(r, 0, QString::number(r));
    m_placing = false;
}

Decimal AllocationGrid::sum() const
{
    Decimal total;
    for (int r = 1; r < m_grid->rows(); ++r)
        total += valDecimal(m_grid->textMatrix(r, m_layout.quantityColumn));
    return total;
}

Decimal AllocationGrid::missing() const { return (m_lineQuantity ? m_lineQuantity() : Decimal()) - sum(); }

bool AllocationGrid::heldElsewhere(int col, int row, const QString &text) const
{
    const QString wanted = text.trimmed().toUpper();
    if (wanted.isEmpty())
        return false;
    for (int r = 1; r < m_grid->rows(); ++r)
        if (r != row && m_grid->textMatrix(r, col).trimmed().toUpper() == wanted)
            return true;
    return false;
}

void AllocationGrid::openEditor()
{
    if (m_grid->rows() < 2)
        reset();
    if (m_grid->currentRow() < 0)
        m_grid->setCurrentCell(0, m_layout.comboColumn);
    if (m_grid->col() != m_layout.comboColumn && m_grid->col() != m_layout.quantityColumn)
        m_grid->setCol(m_layout.comboColumn);
    placeForCurrentCell(true);
}

void AllocationGrid::openCell(int row, int col)
{
    m_placing = true;
    m_grid->setCurrentCell(row - 1, col);
    m_placing = false;
    placeForCurrentCell(true);
}

void AllocationGrid::hideEditors()
{
    // A hidden editor would hand its focus on to whatever comes next; the grid keeps it.
    if (m_combo->hasFocus() || m_quantity->hasFocus())
        m_grid->setFocus(Qt::OtherFocusReason);
    m_combo->hide();
    m_quantity->hide();
    // Tab passes through the editors right after their grid, wherever the grid was made.
    QWidget::setTabOrder(m_grid, m_combo);
    QWidget::setTabOrder(m_combo, m_quantity);
}

void AllocationGrid::placeForCurrentCell(bool focus)
{
    hideEditors();
    const int row = currentDataRow();
    const int col = m_grid->col();
    if (row < 1 || (col != m_layout.comboColumn && col != m_layout.quantityColumn))
        return;
    QWidget *editor = col == m_layout.comboColumn ? static_cast<QWidget *>(m_combo) : m_quantity;
    cellToEditor(row, col);
    placeEditor(editor, row, col);
    if (focus) {
        editor->setFocus(Qt::OtherFocusReason);
        if (editor == m_quantity)
            m_quantity->selectAll();
    }
}

void AllocationGrid::cellToEditor(int row, int col)
{
    const QString cell = m_grid->textMatrix(row, col);
    if (col == m_layout.comboColumn) {
        m_combo->setCurrentIndex(cell.trimmed().isEmpty() ? -1 : m_combo->findText(cell.trimmed(), Qt::MatchFixedString));
        return;
    }
    m_quantity->setText(cell.isEmpty() ? formatNumber(missing(), fmt::Fixed3) : cell);
}

void AllocationGrid::editorToCell()
{
    const int row = currentDataRow();
    if (row < 1 || m_grid->col() != m_layout.quantityColumn)
        return;
    m_grid->setTextMatrix(row, m_layout.quantityColumn, m_quantity->text());
    if (m_layout.typedColumn >= 0)
        m_grid->setTextMatrix(row, m_layout.typedColumn, m_quantity->text());
}

void AllocationGrid::placeEditor(QWidget *editor, int row, int col)
{
    m_grid->scrollToItem(m_grid->item(row - 1, col));
    editor->setGeometry(m_grid->visualRect(m_grid->model()->index(row - 1, col)));
    editor->show();
    editor->raise();
}

void AllocationGrid::comboPicked(int index)
{
    const int row = currentDataRow();
    if (row < 1)
        return;
    if (index < 0) {
        m_grid->setTextMatrix(row, m_layout.comboColumn, QString());
        return;
    }
    if (m_rules.duplicateOnPick && heldElsewhere(m_layout.comboColumn, row, m_combo->itemText(index))) {
        // The row keeps what it had; the combo stays on the refused entry so that the
        // next Down moves on to the one after it.
        say({m_rules.duplicateMessage, MsgIcon::Exclamation});
        return;
    }
    m_policy.picked(*this, row, index);
    emit editedByHand();
}

void AllocationGrid::quantityEdited(const QString &text)
{
    const int row = currentDataRow();
    if (row < 1)
        return;
    if (const auto limit = m_policy.quantityLimit(*this, row); limit && valDecimal(text) > *limit) {
        say({m_rules.limitMessage + quantityText(*limit), MsgIcon::Information});
        m_quantity->setText(quantityText(*limit));
    }
    editorToCell();
    emit editedByHand();
}

void AllocationGrid::comboEnter()
{
    const int row = currentDataRow();
    if (row < 1)
        return;
    if (!m_rules.duplicateOnPick && !m_rules.duplicateMessage.isEmpty()
        && heldElsewhere(m_layout.comboColumn, row, m_grid->textMatrix(row, m_layout.comboColumn))) {
        say({m_rules.duplicateMessage, MsgIcon::Exclamation});
        return;
    }
    if (m_quantity->isEnabled())
        openCell(row, m_layout.quantityColumn);
    else
        completeRow();
}

void AllocationGrid::quantityEnter()
{
    editorToCell();
    completeRow();
}

void AllocationGrid::completeRow()
{
    const int row = currentDataRow();
    if (row < 1)
        return;
    const Decimal quantity = valDecimal(m_grid->textMatrix(row, m_layout.quantityColumn));
    if (quantity.isZero() && !m_rules.zeroMessage.isEmpty()) {
        say({m_rules.zeroMessage, MsgIcon::Information});
        if (m_rules.clearOnZero)
            clearQuantity(row);
        return;
    }
    const Decimal total = sum();
    const Decimal line = m_lineQuantity ? m_lineQuantity() : Decimal();
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
    if (row < dataRowCount()) {
        openCell(row + 1, m_layout.comboColumn);
        return;
    }
    if (m_grid->textMatrix(row, m_layout.comboColumn).trimmed().isEmpty() || quantity.isZero())
        return;
    const int added = appendRow();
    emit editedByHand();
    openCell(added, m_layout.comboColumn);
}

void AllocationGrid::clearQuantity(int row)
{
    m_quantity->clear();
    m_grid->setTextMatrix(row, m_layout.quantityColumn, QString());
    if (m_layout.typedColumn >= 0)
        m_grid->setTextMatrix(row, m_layout.typedColumn, QString());
}

void AllocationGrid::stepBack()
{
    const int row = currentDataRow();
    if (m_grid->col() == m_layout.quantityColumn && row >= 1) {
        openCell(row, m_layout.comboColumn);
        return;
    }
    if (row > 1) {
        openCell(row - 1, m_quantity->isEnabled() ? m_layout.quantityColumn : m_layout.comboColumn);
        return;
    }
    hideEditors();
    emit leftBackward();
}

void AllocationGrid::deleteCurrentRow()
{
    const int row = currentDataRow();
    if (row < 1)
        return;
    hideEditors();
    if (Ui::current().ask(m_rules.deleteQuestion, MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question, m_title)
        != MsgAnswer::Yes)
        return;
    removeDataRow(row);
    emit editedByHand();
}

void AllocationGrid::enterGrid()
{
    if (m_grid->rows() < 2)
        reset();
    openCell(1, m_layout.comboColumn);
}

void AllocationGrid::applyWidths()
{
    const int width = m_grid->viewport()->width();
    for (int c = 0; c < m_grid->cols(); ++c) {
        const double share = m_layout.widths.value(c);
        m_grid->setColumnHidden(c, share <= 0);
        if (share > 0)
            m_grid->setColumnWidth(c, static_cast<int>(width * share));
    }
}

void AllocationGrid::say(const AllocationRefusal &refusal) const { Ui::current().message(refusal.message, refusal.icon, m_title); }

int AllocationGrid::currentDataRow() const { return m_grid->currentRow() < 0 ? 0 : m_grid->row(); }

bool AllocationGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport()) {
        if (event->type() == QEvent::Resize)
            applyWidths();
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton) {
                const QModelIndex at = m_grid->indexAt(mouse->position().toPoint());
                if (at.isValid())
                    m_grid->setCurrentCell(at.row(), at.column());
                emit popupRequested(mouse->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
    const QString routine = watched->objectName() + QStringLiteral("_KeyUp");
    if (watched == m_grid || watched == m_combo) {
        if (key->key() == Qt::Key_Delete) {
            if (m_rules.deleteByKey)
                deleteCurrentRow();
            return true;
        }
        if (!isEnter(key))
            return false;
        guarded(routine, [&] {
            if (watched == m_grid && !shift)
                openEditor();
            else if (shift)
                stepBack();
            else
                comboEnter();
        });
        return true;
    }
    if (watched == m_quantity) {
        if (isEnter(key)) {
            guarded(routine, [&] {
                if (shift)
                    stepBack();
                else
                    quantityEnter();
            });
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && typed.at(0).isPrint() && !m_policy.acceptsQuantityKey(*m_quantity, typed.at(0)))
            return true;
    }
    return false;
}

} // namespace shop
