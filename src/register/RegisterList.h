#pragma once

#include "common/core/TransactionId.h"
#include "common/db/Connection.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

namespace shop::reg {

// How the register's list is ordered: by one column's key, then by the id, both in
// one direction. The id follows the order of entry.
struct ListOrder {
    int column = 0;
    bool ascending = true;
    bool operator==(const ListOrder &) const = default;
};

// One listed return: the key it is ordered by, its id and the cells the register shows.
struct ListedRow {
    QVariant key;
    qint32 id = 0;
    QStringList cells;
};

// The register's list read a page at a time, ordered and searched by statements that
// an index answers, so that opening, scrolling and searching cost the same at any size
// of the shop's history. Every statement is the list statement with its filter as it
// stands; only the order, the page and the key bound change.
class RegisterList {
public:
    static constexpr int Columns = 7;

    RegisterList(ConnectionPtr con, const QString &listQuery);

    int count() const;
    // Lists a return saved since the list was opened; the others' new returns stay out
    // of the list until it is opened again.
    void include(TransactionId id);
    // The rows from `first` in the order, at most `n`; `total` is what count() gave.
    std::vector<ListedRow> rowsAt(const ListOrder &order, int first, int n, int total) const;
    // The next `n` rows after (or before) a listed row, found by its key and id.
    std::vector<ListedRow> rowsAfter(const ListOrder &order, const ListedRow &from, int n) const;
    std::vector<ListedRow> rowsBefore(const ListOrder &order, const ListedRow &from, int n) const;
    // Where a return stands in the order; nothing when the list does not hold it.
    std::optional<int> positionOf(const ListOrder &order, TransactionId id) const;
    // How many rows come before the first whose text in the order's column is, without
    // regard to case, at or after `text`.
    int rowsBeforeText(const ListOrder &order, const QString &text) const;

    // The statements, for the query-plan check: a page in the order and the search's count.
    QString pageStatement(const ListOrder &order) const;
    QString searchStatement(const ListOrder &order) const;

private:
    enum class Direction { Forward, Backward };
    QString keyOf(int column) const;
    QString select(const ListOrder &order, Direction direction, const QString &condition) const;
    // The list's rows: the filter, and the returns there were at opening or added since.
    QString from() const;
    QVariantList scoped(const QVariantList &values) const;
    std::vector<ListedRow> read(const QString &statement, const QVariantList &values, bool reversed) const;

    ConnectionPtr m_con;
    QString m_base;  // the list statement without its order
    qint32 m_newestAtOpening = 0;
    std::vector<qint32> m_added;
};

// Whether a cell text begins with what the clerk typed, as the search compares them:
// the cell cut to the length typed (blanks included) against the trimmed text, without
// regard to case.
bool startsWithTyped(const QString &cell, const QString &typed);

} // namespace shop::reg
