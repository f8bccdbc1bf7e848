#include "common/host/DefaultFetch.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include "common/ui/Twips.h"
#include "common/ui/Ui.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace shop {

namespace {

constexpr qint16 kDefaultWidthTwips = 1500;
constexpr int kPageRows = 10;

} // namespace

FetchDialog::FetchDialog(const Recordset &rows, Columns columns, const QString &caption, QWidget *parent)
    : QDialog(parent), m_columns(std::move(columns))
{
    setObjectName(QStringLiteral("frmFetch"));
    setWindowTitle(caption);
    if (m_columns.names.isEmpty())
        m_columns.names = rows.fieldNames();
    if (m_columns.searchColumn < 0 || m_columns.searchColumn >= m_columns.names.size())
        m_columns.searchColumn = 0;

    auto *layout = new QVBoxLayout(this);
    auto *searchRow = new QHBoxLayout;
    const int searchColumn = m_columns.searchColumn;
    const QString searchCaption = searchColumn < m_columns.captions.size() ? m_columns.captions.at(searchColumn)
                                                                            : m_columns.names.value(searchColumn);
    auto *label = new QLabel(QStringLiteral("Find %1:").arg(searchCaption), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    label->setBuddy(m_search);
    searchRow->addWidget(label);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("grdFetch"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(m_grid, 1);
    fillGrid(rows);

    auto *buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &FetchDialog::search);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int, int) { choose(); });
    connect(m_ok, &QPushButton::clicked, this, &FetchDialog::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_search->installEventFilter(this);
    m_search->setFocus();
    if (m_grid->rowCount() > 0)
        m_grid->selectRow(0);
}

void FetchDialog::fillGrid(const Recordset &rows)
{
    const auto columnCount = static_cast<int>(m_columns.names.size());
    m_grid->setColumnCount(columnCount);
    m_grid->setRowCount(rows.recordCount());
    QStringList headers;
    int totalWidth = 0;
    for (int c = 0; c < columnCount; ++c) {
        headers << (c < m_columns.captions.size() ? m_columns.captions.at(c) : m_columns.names.at(c));
        const int field = rows.fieldIndex(m_columns.names.at(c));
        for (int r = 0; r < rows.recordCount(); ++r)
            m_grid->setItem(r, c, new QTableWidgetItem(field < 0 ? QString() : cellText(rows.value(r, field))));
        const int twips = static_cast<std::size_t>(c) < m_columns.widths.size() ? m_columns.widths.at(c)
                                                                                 : kDefaultWidthTwips;
        if (twips <= 0) {
            m_grid->setColumnHidden(c, true);
        } else {
            m_grid->setColumnWidth(c, twipsToPixels(twips));
            totalWidth += twipsToPixels(twips);
        }
    }
    m_grid->setHorizontalHeaderLabels(headers);
    resize(std::clamp(totalWidth + 40, 360, 1000), 420);
}

void FetchDialog::search(const QString &text)
{
    const int column = m_columns.searchColumn;
    for (int r = 0; r < m_grid->rowCount(); ++r) {
        const QTableWidgetItem *cell = m_grid->item(r, column);
        if (cell && cell->text().startsWith(text, Qt::CaseInsensitive)) {
            m_grid->selectRow(r);
            m_grid->scrollToItem(cell);
            return;
        }
    }
    // No row matches: nothing stays chosen, so Enter cannot pick an unrelated row.
    m_grid->clearSelection();
    m_grid->setCurrentCell(-1, -1);
}

void FetchDialog::moveBy(int rows)
{
    if (m_grid->rowCount() == 0)
        return;
    const int row = std::clamp(m_grid->currentRow() + rows, 0, m_grid->rowCount() - 1);
    m_grid->selectRow(row);
}

bool FetchDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Down:
            moveBy(1);
            return true;
        case Qt::Key_Up:
            moveBy(-1);
            return true;
        case Qt::Key_PageDown:
            moveBy(kPageRows);
            return true;
        case Qt::Key_PageUp:
            moveBy(-kPageRows);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FetchDialog::choose()
{
    const int row = m_grid->currentRow();
    if (row < 0 || m_grid->selectedItems().isEmpty())
        return;
    m_chosen = row;
    accept();
}

void DefaultFetch::setRecordSet(std::shared_ptr<Recordset> &recordset)
{
    // Filled in place, so that everyone holding the caller's recordset sees the choice.
    if (!recordset)
        recordset = std::make_shared<Recordset>();
    m_recordset = recordset;
}

void DefaultFetch::Show()
{
    m_cancelled = true;
    if (!adocon)
        throw ModuleError(ModuleError::ConnectionClosed, QStringLiteral("Fetch"),
                          QStringLiteral("Operation is not allowed when the object is closed."));
    Recordset rows = adocon->query(strQuery);
    FetchDialog dialog(rows, m_columns, m_caption);
    const int result = Ui::current().showModal(dialog, QApplication::activeWindow());
    m_cancelled = result != QDialog::Accepted || dialog.chosenRow() < 0;
    rows.setPosition(m_cancelled ? rows.recordCount() : dialog.chosenRow());
    if (!m_recordset)
        m_recordset = std::make_shared<Recordset>();
    *m_recordset = std::move(rows);
}

} // namespace shop
