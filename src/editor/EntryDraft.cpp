#include "editor/EntryDraft.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Connection.h>
#include "common/db/Transaction.h"
#include "editor/StoredEntry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace shop {

const QString DraftStore::UnreadableMessage =
    QStringLiteral("A purchase return that was not saved was found, but it cannot be read. It has been discarded.");

namespace {

const QString kSource = QStringLiteral("EntryDraft");
const QString kStampFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

QJsonArray rowsToJson(const QList<QStringList> &rows)
{
    QJsonArray array;
    for (const QStringList &row : rows)
        array.append(QJsonArray::fromStringList(row));
    return array;
}

QJsonArray tableToJson(const TextTable &table)
{
    QList<QStringList> rows;
    for (int r = 1; r < table.rowCount(); ++r)
        rows << table.row(r);
    return rowsToJson(rows);
}

// Rows of text cells; nothing when any cell is not text.
std::optional<QList<QStringList>> rowsFromJson(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QList<QStringList> rows;
    for (const QJsonValue &row : value.toArray()) {
        if (!row.isArray())
            return std::nullopt;
        QStringList cells;
        for (const QJsonValue &cell : row.toArray()) {
            if (!cell.isString())
                return std::nullopt;
            cells << cell.toString();
        }
        rows << cells;
    }
    return rows;
}

bool tableFromJson(const QJsonValue &value, TextTable &table)
{
    const auto rows = rowsFromJson(value);
    if (!rows)
        return false;
    for (const QStringList &row : *rows)
        table.addRow(row);
    return true;
}

QJsonValue optionalId(const std::optional<qint32> &id) { return id ? QJsonValue(*id) : QJsonValue(); }

std::optional<qint32> idFrom(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<qint32>(value.toInt()) : std::nullopt;
}

} // namespace

QByteArray encodeDraft(const EntryDraft &draft)
{
    const PurchaseReturnEntry &e = draft.entry;
    QJsonObject o;
    o[QStringLiteral("mode")] = modeText(e.mode);
    o[QStringLiteral("id")] = e.id.value();
    o[QStringLiteral("stored")] = draft.storedVersion;
    o[QStringLiteral("number")] = e.number;
    o[QStringLiteral("date")] = e.dateText;
    o[QStringLiteral("user")] = e.userName;
    o[QStringLiteral("remarks")] = e.remarks;
    o[QStringLiteral("received")] = e.receivedBy;
    o[QStringLiteral("approved")] = e.approvedBy;
    o[QStringLiteral("confirmed")] = e.confirmed;
    o[QStringLiteral("department")] = optionalId(e.departmentId);
    o[QStringLiteral("apartment")] = optionalId(e.apartmentId);
    o[QStringLiteral("lines")] = rowsToJson(e.lines);
    o[QStringLiteral("locations")] = tableToJson(e.locations);
    o[QStringLiteral("expiry")] = tableToJson(e.expiry);
    o[QStringLiteral("serials")] = tableToJson(e.serials);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<EntryDraft> decodeDraft(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    const QString mode = o.value(QStringLiteral("mode")).toString();
    if (mode != QLatin1String("N") && mode != QLatin1String("E"))
        return std::nullopt;
    EntryDraft draft;
    PurchaseReturnEntry &e = draft.entry;
    e.mode = entryModeOf(mode);
    e.id = TransactionId(o.value(QStringLiteral("id")).toInt());
    if (e.mode == EntryMode::Stored && !e.id.isStored())
        return std::nullopt;
    draft.storedVersion = o.value(QStringLiteral("stored")).toString();
    e.number = o.value(QStringLiteral("number")).toString();
    e.dateText = o.value(QStringLiteral("date")).toString();
    e.userName = o.value(QStringLiteral("user")).toString();
    e.remarks = o.value(QStringLiteral("remarks")).toString();
    e.receivedBy = o.value(QStringLiteral("received")).toString();
    e.approvedBy = o.value(QStringLiteral("approved")).toString();
    e.confirmed = o.value(QStringLiteral("confirmed")).toBool();
    e.departmentId = idFrom(o.value(QStringLiteral("department")));
    e.apartmentId = idFrom(o.value(QStringLiteral("apartment")));
    const auto lines = rowsFromJson(o.value(QStringLiteral("lines")));
    if (!lines)
        return std::nullopt;
    for (const QStringList &l : *lines)
        if (l.size() < line::ColumnCount)
            return std::nullopt;
    e.lines = *lines;
    if (!tableFromJson(o.value(QStringLiteral("locations")), e.locations)
        || !tableFromJson(o.value(QStringLiteral("expiry")), e.expiry)
        || !tableFromJson(o.value(QStringLiteral("serials")), e.serials))
        return std::nullopt;
    return draft;
}

DraftRestore planRestore(Connection &con, const Session &session, EntryDraft draft)
{
    DraftRestore plan;
    PurchaseReturnEntry &e = draft.entry;
    if (e.mode == EntryMode::Stored) {
        if (storedReturnVersion(con, session, e.id) == draft.storedVersion) {
            const StoredHeader header = readStoredHeader(con, session, e.id);
            plan.listing.date = parseDate(header.dateText);
            plan.listing.posted = header.posted;
            plan.listing.confirmed = header.confirmed;
        } else {
            plan.storedChangedMeanwhile = true;
            plan.storedNumber = e.number;
            e.mode = EntryMode::New;
            e.id = TransactionId();
            e.number.clear();
            e.dateText.clear();
            e.userName.clear();
            draft.storedVersion.clear();
        }
    }
    plan.draft = std::move(draft);
    return plan;
}

DraftStore::DraftStore(Connection &con, Session session) : m_session(std::move(session)), m_con(con) {}

std::optional<DraftStore::Summary> DraftStore::summary()
{
    const Recordset rs = m_con.query(
        QStringLiteral("select line_count, changed_at from shop_drafts where userid = ? and shopid = ?"),
        {m_session.userId, m_session.shopId});
    if (rs.recordCount() == 0)
        return std::nullopt;
    return Summary{toInt32(rs.value(0, 0)), QDateTime::fromString(cellText(rs.value(0, 1)), kStampFormat)};
}

std::optional<EntryDraft> DraftStore::read()
{
    const Recordset rs = m_con.query(
        QStringLiteral("select body, changed_at from shop_drafts where userid = ? and shopid = ?"),
        {m_session.userId, m_session.shopId});
    if (rs.recordCount() == 0)
        return std::nullopt;
    std::optional<EntryDraft> draft = decodeDraft(cellText(rs.value(0, 0)).toUtf8());
    if (!draft)
        throw ModuleError(ModuleError::TypeMismatch, kSource, UnreadableMessage);
    draft->changedAt = QDateTime::fromString(cellText(rs.value(0, 1)), kStampFormat);
    return draft;
}

void DraftStore::write(const EntryDraft &draft)
{
    write(static_cast<int>(draft.entry.lines.size()), encodeDraft(draft));
}

void DraftStore::write(int lineCount, const QByteArray &body)
{
    if (m_con.inTransaction())
        return;
    const QString stamp = QDateTime::currentDateTime().toString(kStampFormat);
    Transaction tx(m_con);
    discardWithin(m_con, m_session);
    m_con.execute(QStringLiteral("insert into shop_drafts (userid, shopid, line_count, changed_at, body) "
                                 "values (?, ?, ?, ?, ?)"),
                  {m_session.userId, m_session.shopId, lineCount, stamp, QString::fromUtf8(body)});
    tx.commit();
}

void DraftStore::discard()
{
    if (m_con.inTransaction())
        return;
    discardWithin(m_con, m_session);
}

void DraftStore::discardWithin(Connection &con, const Session &session)
{
    con.execute(QStringLiteral("delete from shop_drafts where userid = ? and shopid = ?"), {session.userId, session.shopId});
}

} // namespace shop
