#include <rtnmod08/Connection.h>
#include "items/ItemIdentification.h"
#include "items/LocationDistribution.h"
#include "stock/StockBalances.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace shop::test {
namespace {

LocationBalance at(qint32 id, const char *name, int quantity)
{
    return {id, QString::fromLatin1(name), Decimal::fromInt(quantity)};
}

// Rows as "quantity/balance" of each location.
QStringList split(const QList<LocationBalance> &balances, int quantity)
{
    QStringList out;
    for (const QStringList &row : distributeOverLocations(balances, Decimal::fromInt(quantity), "5"))
        out << row.value(0) + ":" + row.value(1) + ":" + row.value(2) + "/" + row.value(7);
    return out;
}

TEST(LocationDistribution, TakesWholeBalancesInOrderThenTheRestAndStopsWhenTheLocationsRunOut)
{
    const QList<LocationBalance> three{at(1, "Front", 3), at(2, "Back", 2), at(3, "Cold", 10)};
    EXPECT_EQ(split(three, 7), QStringList({"1:Front:3/3.000", "2:Back:2/2.000", "3:Cold:2.000/10.000"}));
    EXPECT_EQ(split({at(1, "Front", 3), at(2, "Back", 2)}, 7), QStringList({"1:Front:3/3.000", "2:Back:2/2.000"}));
    EXPECT_EQ(split(three, 0), QStringList({"1:Front:0.000/3.000"})) << "one row ready to be changed";
    EXPECT_EQ(split(three, 5), QStringList({"1:Front:3/3.000", "2:Back:2/2.000"})) << "no trailing row of 0";
    EXPECT_TRUE(split({}, 7).isEmpty());

    const QStringList row = distributeOverLocations(three, Decimal::fromInt(1), "5").value(0);
    EXPECT_EQ(row, QStringList({"1", "Front", "1.000", "1", "", "1", "5", "3.000"}));
}

class Balances : public DemoTest {
protected:
    StockBalances balances{*db.con};

    static QStringList text(const QList<LocationBalance> &rows)
    {
        QStringList out;
        for (const auto &r : rows)
            out << QString::number(r.locationId) + ":" + r.locationName + ":" + r.quantity.toString(3);
        return out;
    }
    void issue(int shop, int trans, int location, int item, const char *qty, int interfaceId = 1901, int cancel = 0)
    {
        db.con->execute("insert into losLocationIssueDetails (lidInterfaceId, lidShopId, lidTransId, lidDetailId, "
                        "lidLocationId, lidItemId, lidItemQty, lidPakingQty, lidCancel) values (?,?,?,1,?,?,?,0,?)",
                        {interfaceId, shop, trans, location, item, qty, cancel});
    }
};

TEST_P(Balances, LocationsHoldArrivalsLessIssuesAndTheEditedReturnsOwnIssuesCountAgain)
{
    // Rice: Front shelf 20 in, 5 to PR1 and 7 to another module's transaction 1; Back store 60.
    EXPECT_EQ(text(balances.locations({1, 5, {}})), QStringList({"1:Front shelf:8.000", "2:Back store:60.000"}));
    EXPECT_EQ(text(balances.locations({1, 5, TransactionId(1)})),
              QStringList({"1:Front shelf:13.000", "2:Back store:60.000"}))
        << "only PR1's own issue is given back, not the other module's under the same number";

    // A location emptied by this return is listed again while it is changed; one
    // emptied or over-issued by others is not listed at all.
    issue(1, 4, 2, 3, "3");
    issue(1, 9, 1, 3, "6", 1001);
    EXPECT_TRUE(balances.locations({1, 3, {}}).isEmpty());
    EXPECT_EQ(text(balances.locations({1, 3, TransactionId(4)})), QStringList({"2:Back store:3.000"}));
    issue(1, 9, 2, 3, "1", 1001, 1); // cancelled issues take nothing
    EXPECT_EQ(text(balances.locations({1, 3, TransactionId(4)})), QStringList({"2:Back store:3.000"}));
}

TEST_P(Balances, BatchesAndSerialsComeInKeyOrderWithTheirOwnBalances)
{
    const auto batches = balances.batches({1, 1, {}});
    ASSERT_EQ(batches.size(), 2);
    EXPECT_EQ(QStringList({batches[0].batchNo, batches[0].quantity.toString(0), batches[1].batchNo,
                           batches[1].quantity.toString(0)}),
              QStringList({"B1001", "21", "B1002", "15"}));
    EXPECT_EQ(balances.batch({1, 1, {}}, "B1001")->quantity.toString(0), "21");
    EXPECT_EQ(balances.batch({1, 1, TransactionId(1)}, "B1001")->quantity.toString(0), "25");
    EXPECT_EQ(balances.batch({1, 1, {}}, "B1001")->expiryDate, batches[0].expiryDate);
    EXPECT_FALSE(balances.batch({1, 1, {}}, "B9999"));

    const auto tv = balances.serials({1, 3, {}});
    ASSERT_EQ(tv.size(), 7) << "SN-TV-0001 went with PR4";
    EXPECT_EQ(tv.first().serialNo, "SN-TV-0002");
    EXPECT_EQ(balances.serials({1, 3, TransactionId(4)}).size(), 8);
    EXPECT_EQ(balances.serial({1, 4, {}}, "IMEI-DUP")->toString(0), "2");
    EXPECT_FALSE(balances.serial({1, 3, {}}, "SN-TV-0001"));
}

TEST_P(Balances, ListsReadTogetherAreTheListsReadAlone)
{
    const auto batchText = [](const QList<BatchBalance> &rows) {
        QStringList out;
        for (const auto &r : rows)
            out << r.batchNo + ":" + r.expiryDate.toString(Qt::ISODate) + ":" + r.quantity.toString(3);
        return out;
    };
    const auto serialText = [](const QList<SerialBalance> &rows) {
        QStringList out;
        for (const auto &r : rows)
            out << r.serialNo + ":" + r.quantity.toString(3);
        return out;
    };
    // Milk (batches, one under two dates once another arrives), televisions and phones
    // (serials), with and without a stored return's own issues counted back.
    db.con->execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadShopId, eadItemId, eadBatchNo, "
                    "eadExpiryDate, eadItemQty, eadCancel) values (1001, 9, 1, 1, 'B1002', ?, 4, 0)",
                    {QDate(2026, 12, 1)});
    for (const BalanceOwner &owner : {BalanceOwner{1, 1, {}}, BalanceOwner{1, 1, TransactionId(1)}, BalanceOwner{1, 3, {}},
                                      BalanceOwner{1, 3, TransactionId(4)}, BalanceOwner{1, 4, {}}}) {
        const ItemBalances all = balances.lists(owner, {true, true, true});
        EXPECT_EQ(text(all.locations.value()), text(balances.locations(owner))) << owner.itemId;
        EXPECT_EQ(batchText(all.batches.value()), batchText(balances.batches(owner))) << owner.itemId;
        EXPECT_EQ(serialText(all.serials.value()), serialText(balances.serials(owner))) << owner.itemId;
        const ItemBalances some = balances.lists(owner, {false, true, false});
        EXPECT_FALSE(some.locations || some.serials);
        EXPECT_EQ(batchText(some.batches.value()), batchText(balances.batches(owner)));
    }
    EXPECT_EQ(batchText(balances.lists({1, 1, {}}, {false, true, false}).batches.value()).mid(1, 2),
              QStringList({"B1002:2026-12-01:4.000", "B1002:2026-12-15:15.000"}))
        << "a batch under two dates, the earlier first";
}

TEST_P(Balances, AnItemIsReadWithItsFactsAndStockAndAStoredReturnKnowsWhatItTook)
{
    Connection &con = *db.con;
    const auto item = [&](qint32 itemId, qint32 shop = 1, const QString &view = "vwInquiryShopStock") {
        return itemById(con, itemId, ItemLookup{shop, itemTypeRule(con, shop), false, view}).value_or(IdentifiedItem{});
    };
    const IdentifiedItem rice = item(5);
    EXPECT_EQ(rice.stock.toString(0), "75");
    EXPECT_EQ(rice.description.value_or("none"), "Long grain rice 5 kg");
    EXPECT_EQ(rice.facts.code, "RICE-5");
    EXPECT_FALSE(rice.facts.hasExpiry || rice.facts.hasSerialNo);
    EXPECT_TRUE(item(7, 1, "vwInquiryShopStockSummary").stock.isZero());
    EXPECT_FALSE(item(10, 2).description) << "no stock in shop 2";
    EXPECT_TRUE(item(1).facts.hasExpiry) << "milk";
    const IdentifiedItem tv = item(3), phone = item(4);
    EXPECT_TRUE(tv.facts.hasSerialNo && !tv.facts.serialsMayRepeat);
    EXPECT_TRUE(phone.facts.hasSerialNo && phone.facts.serialsMayRepeat);
    EXPECT_FALSE(item(9999).itemId) << "an unknown item";
    EXPECT_EQ(balances.returnedByEntry(1, TransactionId(1), 5).toString(0), "5") << "two detail rows of 2 and 3";
    EXPECT_TRUE(balances.returnedByEntry(1, TransactionId(2), 6).isZero()) << "PR2 is cancelled";
    EXPECT_TRUE(balances.returnedByEntry(1, TransactionId(), 5).isZero());
}

TEST_P(Balances, CodesAreTriedAsBarcodeShortcutAndItemCodeWithinTheShopsItemTypes)
{
    Connection &con = *db.con;
    const auto find = [&](const QString &code, int shop = 1, bool codesRepeat = false) {
        const auto found = identifyItem(con, code, ItemLookup{shop, itemTypeRule(con, shop), codesRepeat, "vwInquiryShopStock"});
        return found ? found->itemId : 0;
    };
    EXPECT_EQ(find("5012345000066"), 5);
    EXPECT_EQ(find("  15 "), 5) << "shortcut";
    EXPECT_EQ(find("0015999"), 5) << "the first four characters make the shortcut";
    EXPECT_EQ(find("SUG-1"), 6);
    EXPECT_EQ(find("SUG-1", 1, true), 0) << "codes that may repeat name no item";
    EXPECT_EQ(find("5012345000097"), 0) << "inactive barcode";
    EXPECT_EQ(find("OIL-1"), 0) << "inactive item";
    EXPECT_EQ(find("5012345000073"), 0) << "cement is of type B";
    EXPECT_EQ(find("5012345000073", 3), 7);
    EXPECT_EQ(find("71", 3), 7);
    EXPECT_EQ(find("5012345000059", 3), 0) << "the trade counter deals only in type B";
    EXPECT_EQ(find("x' or '1'='1"), 0);
    EXPECT_FALSE(itemCodesMayRepeat(con));

    db.con->execute("insert into aItemPackingDetail (itemid, packingtypeid, packingbarcode, Active) values (6, 3, 'RICE-5', 1)");
    EXPECT_EQ(find("RICE-5"), 6) << "a packing barcode wins over an item code";
}

TEST_P(Balances, TheFetchListsTheShopsStockOfItsItemTypesWithTheShopsDefaultField)
{
    Connection &con = *db.con;
    ItemFetch f = itemFetch(con, 3, itemTypeRule(con, 3));
    EXPECT_EQ(f.defaultField, 2);
    QStringList items;
    const Recordset listed = con.query(f.statement);
    for (const QVariantList &row : listed.rows())
        items << row.value(1).toString();
    items.sort();
    EXPECT_EQ(items, QStringList({"ADH-5", "CEM-25"}));

    con.execute("update LOsSettings set defaultfetch = null where shopid = 1");
    EXPECT_EQ(itemFetch(con, 1, ItemTypeRule::AllButTypeB).defaultField, 2);
}

SHOP_ON_ALL_BACKENDS(Balances);

} // namespace
} // namespace shop::test
