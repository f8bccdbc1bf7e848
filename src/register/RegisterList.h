#pragma once

#include "common/core/TransactionId.h"
#include <rtnmod08/Connection.h>

#include <QString>
#include <QStringList>
#include <QVariant>
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

// The register's list read a page at a time from a place in its order (its start, its
// end, a row, the first row at or after a typed text), each page by a statement that
// seeks an index: opening, scrolling and searching cost the same at any size of the
// shop's history, and nothing counts the rows. The list holds the returns there were
// when it was opened and those added to it since, not the other terminals' new ones.
class RegisterList {
public:
    static constexpr int Columns = 7;

    RegisterList(ConnectionPtr con, const QString &listQuery);

    // The first and the last `n` rows of the order.
    std::vector<ListedRow> first(const ListOrder &order, int n) const;
    std::vector<ListedRow> last(const ListOrder &order, int n);
    // The `n` rows after (or before) a place in the order: a row's key and id.
    std::vector<ListedRow> after(const ListOrder &order, const ListedRow &place, int n) const;
    std::vector<ListedRow> before(const ListOrder &order, const ListedRow &place, int n) const;
    // The place just before the first row whose text in the order's column is, without
    // regard to case, at or after `text` (an ascending order).
    ListedRow placeOfText(const ListOrder &order, const QString &text) const;
    // The place just before a return, nothing when the list does not hold it.
    std::optional<ListedRow> placeOf(const ListOrder &order, TransactionId id) const;
    // Lists a return saved since the list was opened.
    void include(TransactionId id);

    // The statements, for the query-plan check: a page from the start of the order, and
    // one after a place (the values: the newest id listed, the place's key twice and its
    // id, the page's length).
    QString pageStatement(const ListOrder &order) const;
    QString pageAfterStatement(const ListOrder &order) const;

private:
    enum class Direction { Forward, Backward };
    QString keyOf(int column) const;
    QString from() const;
    QVariantList scoped(const QVariantList &values) const;
    QString select(const ListOrder &order, Direction direction, bool fromPlace) const;
    std::vector<ListedRow> read(const QString &statement, const QVariantList &values, bool reversed) const;

    ConnectionPtr m_con;
    QString m_base; // the list statement without its order
    qint32 m_newestAtOpening = -1; // none yet: every row
    std::vector<qint32> m_added;
};

// A listed cell's text, as the module shows any cell (dates as dd/MM/yyyy, texts
// trimmed), without parsing a pattern for each cell of every page read.
QString listedCellText(const QVariant &value);

// Whether a cell text begins with what the clerk typed, as the search compares them:
// the cell cut to the length typed (blanks included) against the trimmed text, without
// regard to case; numbers as numbers.
bool startsWithTyped(const QString &cell, const QString &typed);

} // namespace shop::reg
