#include "register/RegisterList.h"

#include "common/core/Conversions.h"
#include <rtnmod08/Recordset.h>

#include <algorithm>
#include <array>
#include <limits>

namespace shop::reg {

namespace {

// The flag columns (cancelled, posted, confirmed) show "Yes" for 1 and "No" for 0;
// their keys are the stored numbers, which order as the texts do.
constexpr int FirstFlagColumn = 4;
const std::array<QString, 3> FlagColumns{QStringLiteral("whcancelled"), QStringLiteral("whposted"),
                                         QStringLiteral("Whtransfinished")};

bool isFlagColumn(int column) { return column >= FirstFlagColumn && column < RegisterList::Columns; }

// The number the ASCII digits of a text stand for; -1 for any other text.
int digitsValue(QStringView text)
{
    int n = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// dd/MM/yyyy in one piece, for a valid date of a four-digit year.
QString displayedDate(int day, int month, int year)
{
    QString out(10, QLatin1Char('/'));
    QChar *at = out.data();
    const auto put = [](QChar *to, int n, int width) {
        for (int i = width - 1; i >= 0; --i, n /= 10)
            to[i] = QLatin1Char(static_cast<char>('0' + n % 10));
    };
    put(at, day, 2);
    put(at + 3, month, 2);
    put(at + 6, year, 4);
    return out;
}

} // namespace

QString listedCellText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString: {
        // (A null text reads as an empty one.)
        QString text = value.toString().trimmed();
        // A stored date reads as text on SQLite: yyyy-MM-dd exactly.
        const QStringView t(text);
        if (text.size() != 10 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-'))
            return text;
        const int year = digitsValue(t.first(4));
        const int month = digitsValue(t.sliced(5, 2));
        const int day = digitsValue(t.sliced(8, 2));
        if (year < 0 || month < 0 || day < 0 || !QDate(year, month, day).isValid())
            return text;
        return displayedDate(day, month, year);
    }
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        if (date.isValid() && date.year() >= 1000 && date.year() <= 9999)
            return displayedDate(date.day(), date.month(), date.year());
        break;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.isNull() ? QString() : value.toString();
    default:
        break;
    }
    return cellText(value);
}

RegisterList::RegisterList(ConnectionPtr con, const QString &listQuery) : m_con(std::move(con)), m_base(listQuery)
{
    const qsizetype orderBy = m_base.lastIndexOf(QLatin1String(" order by"), -1, Qt::CaseInsensitive);
    if (orderBy >= 0)
        m_base.truncate(orderBy);
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

// The list's rows: its filter, and the returns there were at opening or added since.
// (The unary plus keeps the bound from steering the planner off the order's index.)
QString RegisterList::from() const
{
    QString scope = QStringLiteral(" and (+WhID <= ?");
    for (size_t i = 0; i < m_added.size(); ++i)
        scope += i == 0 ? QStringLiteral(" or WhID in (?") : QStringLiteral(", ?");
    scope += m_added.empty() ? QStringLiteral(")") : QStringLiteral("))");
    return m_base.mid(m_base.indexOf(QLatin1String("from "))) + scope;
}

QVariantList RegisterList::scoped(const QVariantList &values) const
{
    QVariantList out{m_newestAtOpening < 0 ? std::numeric_limits<qint32>::max() : m_newestAtOpening};
    for (const qint32 id : m_added)
        out << id;
    return out + values;
}

void RegisterList::include(TransactionId id) { m_added.push_back(id.value()); }

QString RegisterList::select(const ListOrder &order, Direction direction, bool fromPlace) const
{
    const bool up = order.ascending == (direction == Direction::Forward);
    const QString dir = up ? QStringLiteral(" asc") : QStringLiteral(" desc");
    const QString key = keyOf(order.column);
    const qsizetype columnsEnd = m_base.indexOf(QLatin1String("from "));
    // The key's own bound beside the pair's, so that the index is entered at the place
    // rather than walked from the shop's first row to it.
    const QString place = fromPlace ? QStringLiteral(" and ") + key + (up ? QStringLiteral(" >= ?") : QStringLiteral(" <= ?"))
            + QStringLiteral(" and (") + key + QStringLiteral(", WhID)") + (up ? QStringLiteral(" > ") : QStringLiteral(" < "))
            + QStringLiteral("(?, ?)")
                                    : QString();
    // The key goes first; the list's own columns follow it.
    return QStringLiteral("select ") + key + QStringLiteral(", ") + m_base.mid(7, columnsEnd - 7) + from() + place
        + QStringLiteral(" order by ") + key + dir + QStringLiteral(", WhID") + dir + QStringLiteral(" limit ?");
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
            row.cells << listedCellText(record.value(c));
        rows.push_back(std::move(row));
    }
    if (reversed)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

std::vector<ListedRow> RegisterList::first(const ListOrder &order, int n) const
{
    return read(select(order, Direction::Forward, false), {n}, false);
}

std::vector<ListedRow> RegisterList::last(const ListOrder &order, int n)
{
    std::vector<ListedRow> rows = read(select(order, Direction::Backward, false), {n}, true);
    // The list's first reading, at its opening, says which returns it holds.
    if (m_newestAtOpening < 0 && order == ListOrder{}) {
        m_newestAtOpening = 0;
        for (const ListedRow &r : rows)
            m_newestAtOpening = std::max(m_newestAtOpening, r.id);
    }
    return rows;
}

std::vector<ListedRow> RegisterList::after(const ListOrder &order, const ListedRow &place, int n) const
{
    return read(select(order, Direction::Forward, true), {place.key, place.key, place.id, n}, false);
}

std::vector<ListedRow> RegisterList::before(const ListOrder &order, const ListedRow &place, int n) const
{
    return read(select(order, Direction::Backward, true), {place.key, place.key, place.id, n}, true);
}

ListedRow RegisterList::placeOfText(const ListOrder &order, const QString &text) const
{
    const QString wanted = text.toUpper();
    QVariant bound = wanted;
    if (isFlagColumn(order.column)) {
        // The first of "", "NO", "YES" at or after the text; past them all, past every row.
        const std::array<std::pair<int, QString>, 3> flags{
            {{-1, QString()}, {0, QStringLiteral("NO")}, {1, QStringLiteral("YES")}}};
        const auto at = std::find_if(flags.begin(), flags.end(), [&](const auto &f) { return f.second >= wanted; });
        bound = at == flags.end() ? 2 : at->first;
    } else if (order.column == 0) {
        bound = static_cast<qint32>(val(text));
    }
    // No id is 0 or less: (bound, 0) lies just before the first row of the bound.
    return ListedRow{bound, 0, {}};
}

std::optional<ListedRow> RegisterList::placeOf(const ListOrder &order, TransactionId id) const
{
    const Recordset rs = m_con->query(QStringLiteral("select ") + keyOf(order.column) + QStringLiteral(" ") + from()
                                          + QStringLiteral(" and WhID = ?"),
                                      scoped({id.value()}));
    if (rs.isEmpty())
        return std::nullopt;
    // Just before it in the order's own direction.
    return ListedRow{rs.value(0, 0), order.ascending ? id.value() - 1 : id.value() + 1, {}};
}

QString RegisterList::pageStatement(const ListOrder &order) const { return select(order, Direction::Forward, false); }

QString RegisterList::pageAfterStatement(const ListOrder &order) const { return select(order, Direction::Forward, true); }

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
