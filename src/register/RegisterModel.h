#pragma once

#include "register/RegisterList.h"

#include <QAbstractTableModel>
#include <memory>
#include <optional>

namespace shop {

// The register's rows as a table model over its list statement: a window of the list
// in its order, opened on the newest returns and grown a page at a time as the clerk
// scrolls up or down, each page read from its neighbour's key. An empty list shows one
// blank row, as the register always has. Cancelled entries are red in the id, number,
// date, user and cancelled columns.
class RegisterModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int PageSize = 128;

    explicit RegisterModel(QObject *parent = nullptr);

    // Opens the list of a statement in the order of entry, on its newest rows.
    void open(const ConnectionPtr &con, const QString &listQuery);
    void setCaptions(const QStringList &captions);
    // Orders the list afresh and shows it from its start.
    void setOrder(const reg::ListOrder &order);
    const reg::ListOrder &order() const { return m_order; }
    // The row the first text at or after `typed` in an order stands in, when it begins
    // with it: the list is then so ordered and shown from it, in the first row, and the
    // rows above come as the clerk moves up to them, so that a keystroke reads one page.
    // Otherwise the list is so ordered, and the rows shown stay when it was already.
    std::optional<int> findTyped(const reg::ListOrder &order, const QString &typed);
    // Lists a return saved since the list was opened; the row it stands in.
    std::optional<int> reopenAt(TransactionId id);
    // Shows the first (last) page of the order; false when it is shown already.
    bool showStart();
    bool showEnd();
    // Shows the cells read again for one row.
    void replaceRow(int row, const QStringList &cells);
    // Reads the page before the first row shown; how many rows came.
    int fetchOlder();

    QString text(int row, int column) const;
    bool isCancelled(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    // Shows a page read from a place in the order, not knowing what lies above it.
    void showFrom(std::vector<reg::ListedRow> rows);
    void showLast();
    void show(std::vector<reg::ListedRow> rows, bool atStart, bool atEnd);

    std::unique_ptr<reg::RegisterList> m_list;
    reg::ListOrder m_order;
    QStringList m_captions;
    std::vector<reg::ListedRow> m_rows;
    bool m_atStart = true;
    bool m_atEnd = true;
};

} // namespace shop
