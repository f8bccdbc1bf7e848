#include "support/LedgerGenerator.h"

#include "common/db/Transaction.h"

namespace shop::bench {

namespace {

// The row numbers 1..n as a table source `g(i)`, and how each backend spells the few
// expressions the rows need.
struct Spelling {
    Backend backend;

    QString numbers(qint64 n) const
    {
        if (backend == Backend::Postgres)
            // Wide numbers: a row number times the spreading primes passes 2^31 at a million rows.
            return QStringLiteral("generate_series(1::bigint, %1) as g(i)").arg(n);
        return QStringLiteral("(with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) "
                              "select i from s) as g")
            .arg(n);
    }
    QString text(const QString &expression) const
    {
        return backend == Backend::Postgres ? QStringLiteral("(%1)::text").arg(expression)
                                            : QStringLiteral("cast(%1 as text)").arg(expression);
    }
    // A whole number as text of `width` digits, with leading zeros.
    QString padded(const QString &expression, int width) const
    {
        if (backend == Backend::Postgres)
            return QStringLiteral("lpad((%1)::text, %2, '0')").arg(expression).arg(width);
        return QStringLiteral("substr('%1' || (%2), -%3, %3)").arg(QString(width, QLatin1Char('0')), expression).arg(width);
    }
    QString daysFrom(const QDate &date, const QString &days) const
    {
        if (backend == Backend::Postgres)
            return QStringLiteral("(date '%1' + (%2)::int)").arg(date.toString(Qt::ISODate), days);
        return QStringLiteral("date('%1', '+' || (%2) || ' days')").arg(date.toString(Qt::ISODate), days);
    }
    QString quantity(const QString &expression) const
    {
        return backend == Backend::Postgres ? QStringLiteral("(%1)::numeric(18,3)").arg(expression) : expression;
    }
};

void run(Connection &con, const QString &statement) { con.executeRaw(statement); }

} // namespace

QString generatedBarcode(int itemId) { return QStringLiteral("77%1").arg(itemId, 11, 10, QLatin1Char('0')); }

void generateLedgers(Connection &con, const LedgerSize &size, const QDate &today)
{
    const Spelling sql{con.backend()};
    const qint64 n = size.rowsPerLedger;
    const QString seed = QString::number(size.seed % 9973);
    // Row i's shop, item, location, batch and serial, the same in every ledger so
    // that issues meet arrivals.
    const QString shop = QStringLiteral("(1 + (g.i % 3))");
    const QString item = QStringLiteral("(%1 + ((g.i * 7919 + %2) % %3))").arg(FirstItemId).arg(seed).arg(GeneratedItems);
    const QString location = QStringLiteral("(1 + ((g.i * 31 + %1) % %2))").arg(seed).arg(LocationsPerShop);
    const QString batch = QStringLiteral("'GB' || ") + sql.text(QStringLiteral("(g.i * 13 + %1) % 50").arg(seed));
    const QString serial = QStringLiteral("'GS' || ") + sql.text(QStringLiteral("g.i"));
    const QString expiry = sql.daysFrom(today, QStringLiteral("30 + ((g.i * 13 + %1) % 50)").arg(seed));
    const QString arrived = sql.quantity(QStringLiteral("10 + (g.i % 7)"));
    const QString issued = sql.quantity(QStringLiteral("1 + (g.i % 3)"));
    const QString cancelled = QStringLiteral("(case when g.i % 17 = 0 then 1 else 0 end)");
    const QString from = QStringLiteral(" from ") + sql.numbers(n);

    Transaction tx(con);
    // Every second item keeps expiry batches, every fourth serial numbers as well.
    run(con, QStringLiteral("insert into aItem (ItemId, itemcode, description, itemtype, Active, UnitsId, "
                            "ExpiryNoOfDays, SerialNoActive, SerialNodupli, ItemRate) select %1 + g.i - 1, 'GEN-' || %2, "
                            "'Generated item ' || %2, 'A', 1, 1, case when g.i % 2 = 0 then 90 else 0 end, "
                            "case when g.i % 4 = 0 then 1 else 0 end, 0, 2.5")
                 .arg(FirstItemId)
                 .arg(sql.text(QStringLiteral("g.i")))
             + QStringLiteral(" from ") + sql.numbers(GeneratedItems));
    run(con, QStringLiteral("insert into aItemPackingDetail (itemid, packingtypeid, packingbarcode, Active) "
                            "select %1 + g.i - 1, 1, '77' || %2, 1")
                 .arg(FirstItemId)
                 .arg(sql.padded(QStringLiteral("%1 + g.i - 1").arg(FirstItemId), 11))
             + QStringLiteral(" from ") + sql.numbers(GeneratedItems));
    run(con, QStringLiteral("insert into ashopitemDetail (itemid, shopid, shortcutno) select %1 + g.i - 1, 1, %2")
                 .arg(FirstItemId)
                 .arg(sql.text(QStringLiteral("5000 + g.i")))
             + QStringLiteral(" from ") + sql.numbers(GeneratedItems));
    run(con, QStringLiteral("insert into mosShopStock (itemid, shopid, stock) select %1 + ((g.i - 1) % %2), "
                            "1 + ((g.i - 1) / %2), %3")
                 .arg(FirstItemId)
                 .arg(GeneratedItems)
                 .arg(sql.quantity(QString::number(n)))
             + QStringLiteral(" from ") + sql.numbers(3 * GeneratedItems));
    run(con, QStringLiteral("insert into losLocation (lLocationId, lShopId, lLocationName) select 100 + ((g.i - 1) % %1), "
                            "1 + ((g.i - 1) / %1), 'Bay ' || %2")
                 .arg(LocationsPerShop)
                 .arg(sql.text(QStringLiteral("(g.i - 1) % %1").arg(LocationsPerShop)))
             + QStringLiteral(" from ") + sql.numbers(3 * LocationsPerShop));
    const QString locationId = QStringLiteral("(100 + %1 - 1)").arg(location);

    run(con, QStringLiteral("insert into loslocationArrivalDetails (ladInterfaceId, ladTransId, ladLocationId, ladShopId, "
                            "ladItemId, ladItemQty, ladCancel) select 1001, g.i, %1, %2, %3, %4, %5")
                 .arg(locationId, shop, item, arrived, cancelled)
             + from);
    run(con, QStringLiteral("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, "
                            "eadShopId, eadItemId, eadItemQty, eadCancel) select 1001, g.i, %1, %2, %3, %4, %5, %6")
                 .arg(expiry, batch, shop, item, arrived, cancelled)
             + from);
    run(con, QStringLiteral("insert into losSerialArrivalDetails (sadInterfaceId, sadTransId, sadSerialNo, sadShopId, "
                            "sadItemId, sadItemQty, sadCancel) select 1001, g.i, %1, %2, %3, 1, %4")
                 .arg(serial, shop, item, cancelled)
             + from);
    // Issues of other modules (interface 1501) take part of what arrived.
    run(con, QStringLiteral("insert into losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId, lidDetailId, "
                            "lidLocationId, lidItemId, lidItemQty, lidPackingTypeId, lidPakingQty, lidCancel) "
                            "select 1501, %1, g.i, 1, %2, %3, %4, null, 0, %5")
                 .arg(shop, locationId, item, issued, cancelled)
             + from);
    run(con, QStringLiteral("insert into losExpiryIssueDetails (eidInterfaceId, eidShopId, eidTransactionId, eidDetailId, "
                            "eidExpiryDate, eidBatchNo, eidItemId, eidItemQty, eidPackingTypeId, eidPackingQty, eidCancel) "
                            "select 1501, %1, g.i, 1, %2, %3, %4, %5, null, 0, %6")
                 .arg(shop, expiry, batch, item, issued, cancelled)
             + from);
    run(con, QStringLiteral("insert into losSerialIssueDetails (sidInterfaceId, sidShopId, sidTransactionId, sidDetailId, "
                            "sidSerialNo, sidItemId, sidItemQty, sidPackingTypeId, sidPackingQty, sidCancel, sidAdjustment, "
                            "sidFreeQty) select 1501, %1, g.i, 1, 'GS' || %2, %3, 1, null, 0, %4, 0, 0")
                 .arg(shop, sql.text(QStringLiteral("g.i * 3")), item, cancelled)
             + from);
    // Returns of shop 1 spread over the register's date window.
    run(con, QStringLiteral("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, WhRemarks, "
                            "whcancelled, whposted, Whtransfinished) select 1, 100000 + g.i, 'GR' || %1, %2, 'clerk', "
                            "'Generated return', %3, 0, 0")
                 .arg(sql.text(QStringLiteral("g.i")), sql.daysFrom(today.addDays(-25), QStringLiteral("g.i % 26")), cancelled)
             + QStringLiteral(" from ") + sql.numbers(size.returns));
    tx.commit();
    // The planners judge the indexes by what the tables now hold; on the server the
    // vacuum also marks the pages all-visible, as its autovacuum keeps a settled
    // ledger, so that a balance is read from its index alone.
    run(con, con.backend() == Backend::Postgres ? QStringLiteral("vacuum analyze") : QStringLiteral("analyze"));
}

} // namespace shop::bench
