// What keeping the draft adds to each Ok of the item window: writing a return of N
// lines (each with a location, a batch and a serial row) as the draft, against a bare
// prepared delete and insert of the same document in one transaction.
//   draft_write [lines ...]      (default 3 60)

#include "common/db/Transaction.h"
#include "editor/EntryDraft.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>

using namespace shop;

namespace {

EntryDraft draftOf(qint64 lines)
{
    EntryDraft draft;
    PurchaseReturnEntry &e = draft.entry;
    e.remarks = QStringLiteral("Expired goods");
    for (qint64 i = 1; i <= lines; ++i) {
        const QString n = QString::number(i);
        e.lines << QStringList{n, QStringLiteral("1"), QStringLiteral("GEN-") + n, QStringLiteral("Generated item ") + n,
                               QStringLiteral("40.000"), QStringLiteral("3"), QStringLiteral("1"), n,
                               QStringLiteral("2.5"), QStringLiteral("PCS")};
        e.locations.addRow({n, QStringLiteral("Front shelf"), QStringLiteral("3"), QStringLiteral("1"), n});
        e.expiry.addRow({n, QStringLiteral("B") + n, QStringLiteral("11/12/2026"), QStringLiteral("3"), n});
        e.serials.addRow({n, n, QStringLiteral("SN-") + n, QStringLiteral("1"), n});
    }
    return draft;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    for (const Backend backend : bench::benchBackends()) {
        for (const qint64 lines : bench::sizesFrom(app.arguments().mid(1), {3, 60})) {
            bench::BenchDatabase db(backend);
            Connection &con = *db.con;
            Session session;
            session.userId = 1;
            session.shopId = 1;
            const EntryDraft draft = draftOf(lines);
            DraftStore store(con, session);
            const double module = bench::medianMs(31, [&] { store.write(draft); });
            const QString body = QString::fromUtf8(encodeDraft(draft));
            const double raw = bench::medianMs(31, [&] {
                Transaction tx(con);
                con.execute(QStringLiteral("delete from shop_drafts where userid = ? and shopid = ?"), {1, 1});
                con.execute(QStringLiteral("insert into shop_drafts (userid, shopid, line_count, changed_at, body) "
                                           "values (?, ?, ?, ?, ?)"),
                            {1, 1, lines, QStringLiteral("2026-12-07 10:00:00"), body});
                tx.commit();
            });
            bench::report(out, QStringLiteral("draft_write"), backend, lines, module, raw,
                          -1, QStringLiteral("%1 bytes").arg(body.size()));
        }
    }
    return 0;
}
