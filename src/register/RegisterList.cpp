#include "register/RegisterList.h"

#include "common/core/Conversions.h"
#include "common/db/Recordset.h"

#include <algorithm>
#include <array>

namespace shop::reg {

namespace {

// The flag columns (cancelled, posted, confirmed) show "Yes" for 1 and "No" for 0;
// their keys are the stored numbers, which order as the texts do.
constexpr int FirstFlagColumn = 4;
const std::array<QString, 3> FlagColumns{QStringLiteral("whcancelled"), QStringLiteral("whposted"),
                                         QStringLiteral("Whtransfinished")};

bool isFlagColumn(int column) { return column >= FirstFlagColumn && column < RegisterList::Columns; }

} // namespace

RegisterList::RegisterList(ConnectionPtr con, const QString &listQuery) : m_con(std::move(con)), m_base(listQuery)
{
    const qsizetype orderBy = m_base.lastIndexOf(QLatin1String(" order by"), -1, Qt::CaseInsensitive);
    if (orderBy >= 0)
        m_base.truncate(orderBy);
    m_newestAtOpening = m_con->scalar(QStringLiteral("select max(WhID) ") + m_base.mid(m_base.indexOf(QLatin1String("from ")))).toInt();
}

void RegisterList::include(TransactionId id) { m_added.push_back(id.value()); }

QString RegisterList::from() const
{
    QString scope = QStringLiteral(" and (WhID <= ?");
    for (size_t i = 0; i < m_added.size(); ++i)
        scope += i == 0 ? QStringLiteral(" or WhID in (?") : QStringLiteral(", ?");
    scope += m_added.empty() ? QStringLiteral(")") : QStringLiteral("))");
    return m_base.mid(m_base.indexOf(QLatin1String("from "))) + scope;
}

QVariantList RegisterList::scoped(const QVariantList &values) const
{
    QVariantList out{m_newestAtOpening};
    for (const qint32 id : m_added)
        out << id;
    return out + values;
}

// The keys match the register's indexes expression for expression, so that the order
// and the search seek instead of sorting the shop's whole history.
QString RegisterList::keyOf(int column) const
{
    switch (column) {
    case 1:
        return QStringLiteral("upper(coalesce(WhNo, ''))");
    case 2:
        // The date as the register shows it, which is what a search on it compares.
        return m_con->backend() == Backend::Postgres
            ? QStringLiteral("to_char(WhDate, 'DD/MM/YYYY')")
            : QStringLiteral("(substr(WhDate, 9, 2) || '/' || substr(WhDate, 6, 2) || '/' || substr(WhDate, 1, 4))");
    case 3:
        return QStringLiteral("upper(coalesce(WhUserName, ''))");
    default:
        if (isFlagColumn(column))
            return QStringLiteral("coalesce(%1, -1)").arg(FlagColumns[static_cast<size_t>(column - FirstFlagColumn)]);
        return QStringLiteral("WhID");
    }
}

QString RegisterList::select(const ListOrder &order, Direction direction, const QString &condition) const
{
    const bool up = order.ascending == (direction == Direction::Forward);
    const QString dir = up ? QStringLiteral(" asc") : QStringLiteral(" desc");
    const QString key = keyOf(order.column);
    // The key goes first; the list's own columns follow it.
    const qsizetype columnsEnd = m_base.indexOf(QLatin1String("from "));
    return QStringLiteral("select ") + key + QStringLiteral(", ") + m_base.mid(7, columnsEnd - 7) + from() + condition + QStringLiteral(" order by ")
        + key + dir + QStringLiteral(", WhID") + dir + QStringLiteral(" limit ? offset ?");
}

std::vector<ListedRow> RegisterList::read(const QString &statement, const QVariantList &values, bool reversed) const
{
    const Recordset rs = m_con->query(statement, scoped(values));
    std::vector<ListedRow> rows;
    rows.reserve(static_cast<size_t>(rs.recordCount()));
    for (const QVariantList &record : rs.rows()) {
        ListedRow row;
        row.key = record.value(0);
        row.id = record.value(1).toInt();
        row.cells.reserve(Columns);
        for (int c = 1; c <= Columns; ++c)
            row.cells << cellText(record.value(c));
        rows.push_back(std::move(row));
    }
    if (reversed)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

int RegisterList::count() const
{
    return m_con->scalar(QStringLiteral("select count(*) ") + from(), scoped({})).toInt();
}

std::vector<ListedRow> RegisterList::rowsAt(const ListOrder &order, int first, int n, int total) const
{
    first = std::clamp(first, 0, total);
    n = std::clamp(n, 0, total - first);
    if (n == 0)
        return {};
    // From whichever end is nearer, so that the newest rows come as fast as the oldest.
    const int fromEnd = total - first - n;
    if (first <= fromEnd)
        return read(select(order, Direction::Forward, {}), {n, first}, false);
    return read(select(order, Direction::Backward, {}), {n, fromEnd}, true);
}

std::vector<ListedRow> RegisterList::rowsAfter(const ListOrder &order, const ListedRow &from, int n) const
{
    const QString past = order.ascending ? QStringLiteral(" > ") : QStringLiteral(" < ");
    return read(select(order, Direction::Forward, QStringLiteral(" and (") + keyOf(order.column) + QStringLiteral(", WhID)")
                                                      + past + QStringLiteral("(?, ?)")),
                {from.key, from.id, n, 0}, false);
}

std::vector<ListedRow> RegisterList::rowsBefore(const ListOrder &order, const ListedRow &from, int n) const
{
    const QString past = order.ascending ? QStringLiteral(" < ") : QStringLiteral(" > ");
    return read(select(order, Direction::Backward, QStringLiteral(" and (") + keyOf(order.column) + QStringLiteral(", WhID)")
                                                       + past + QStringLiteral("(?, ?)")),
                {from.key, from.id, n, 0}, true);
}

std::optional<int> RegisterList::positionOf(const ListOrder &order, TransactionId id) const
{
    const Recordset rs = m_con->query(QStringLiteral("select ") + keyOf(order.column) + QStringLiteral(" ") + from()
                                          + QStringLiteral(" and WhID = ?"),
                                      scoped({id.value()}));
    if (rs.isEmpty())
        return std::nullopt;
    const QString before = order.ascending ? QStringLiteral(" < ") : QStringLiteral(" > ");
    return m_con
        ->scalar(QStringLiteral("select count(*) ") + from() + QStringLiteral(" and (") + keyOf(order.column)
                     + QStringLiteral(", WhID)") + before + QStringLiteral("(?, ?)"),
                 scoped({rs.value(0, 0), id.value()}))
        .toInt();
}

QString RegisterList::searchStatement(const ListOrder &order) const
{
    return QStringLiteral("select count(*) ") + from() + QStringLiteral(" and ")
        + keyOf(order.column) + (order.ascending ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
}

QString RegisterList::pageStatement(const ListOrder &order) const { return select(order, Direction::Forward, {}); }

int RegisterList::rowsBeforeText(const ListOrder &order, const QString &text) const
{
    const QString wanted = text.toUpper();
    QVariant bound = wanted;
    if (isFlagColumn(order.column)) {
        // The first of "", "NO", "YES" at or after the text; past them all, every row is before.
        const std::array<std::pair<int, QString>, 3> flags{
            {{-1, QString()}, {0, QStringLiteral("NO")}, {1, QStringLiteral("YES")}}};
        const auto at = std::find_if(flags.begin(), flags.end(), [&](const auto &f) { return f.second >= wanted; });
        bound = at == flags.end() ? 2 : at->first;
    }
    return m_con->scalar(searchStatement(order), scoped({bound})).toInt();
}

bool startsWithTyped(const QString &cell, const QString &typed)
{
    const QString cut = cell.trimmed().left(typed.size());
    const QString wanted = typed.trimmed();
    bool numeric = false;
    cell.trimmed().toDouble(&numeric);
    if (numeric)
        return val(cut) == val(wanted);
    return cut.compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace shop::reg
