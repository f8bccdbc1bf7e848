#pragma once

#include "register/RegisterList.h"

#include <QAbstractTableModel>
#include <map>
#include <memory>

namespace shop {

// The register's rows as a table model over its list statement: the count first, then
// pages as the view asks for them, the next page by its neighbour's key. An empty list
// shows one blank row, as the register always has. Cancelled entries are red in the
// id, number, date, user and cancelled columns.
class RegisterModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int PageSize = 128;

    explicit RegisterModel(QObject *parent = nullptr);

    // Opens the list of a statement in the order of entry.
    void open(const ConnectionPtr &con, const QString &listQuery);
    void setCaptions(const QStringList &captions);
    // Orders the list afresh; the rows are read again as they are shown.
    void setOrder(const reg::ListOrder &order);
    const reg::ListOrder &order() const { return m_order; }
    // The row (from 0) that the first text at or after `typed` stands in, when it
    // begins with it.
    std::optional<int> findTyped(const QString &typed);
    // The row a return now stands in, after it was added to the list.
    std::optional<int> reopenAt(TransactionId id);
    // Shows the cells read again for one row.
    void replaceRow(int row, const QStringList &cells);

    int listedCount() const { return m_total; }
    QString text(int row, int column) const;
    bool isCancelled(int row) const;
    const reg::RegisterList *list() const { return m_list.get(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const reg::ListedRow *rowAt(int row) const;
    void fetchPage(int page) const;
    void reset();

    std::unique_ptr<reg::RegisterList> m_list;
    reg::ListOrder m_order;
    int m_total = 0;
    QStringList m_captions;
    // Pages read so far; the ones farthest from what is shown are let go.
    mutable std::map<int, std::vector<reg::ListedRow>> m_pages;
};

} // namespace shop
