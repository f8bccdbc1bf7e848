// The register's list read a page at a time: whichever way the clerk scrolls, orders
// or searches, the rows are the list statement's rows, each once, in the order chosen.

#include "register/RegisterData.h"
#include "register/RegisterModel.h"
#include <rtnmod08/Recordset.h>
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace shop::test {
namespace {

const QDate kToday(2026, 12, 6);

class RegisterList : public ::testing::TestWithParam<Backend> {
protected:
    TestDatabase db{GetParam(), TestDatabase::Content::Demo};
    const QString query = reg::listQuery(kToday.addDays(-30), 1, "P");
    RegisterModel model;

    void SetUp() override
    {
        // More than two pages of returns, their users in mixed case.
        const QStringList users{"ann", "Bob", "cy"};
        for (int i = 0; i < 300; ++i)
            db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, whcancelled, "
                            "whposted, Whtransfinished) values (1, ?, ?, ?, ?, ?, 0, 0)",
                            {1000 + i, QString("T%1").arg(i, 4, 10, QChar('0')), kToday, users.at(i % 3), i % 7 == 0 ? 1 : 0});
        model.open(db.con, query);
    }
    QList<int> shownIds()
    {
        QList<int> ids;
        for (int r = 0; r < model.rowCount(); ++r)
            ids << model.text(r, 0).toInt();
        return ids;
    }
    // The list statement's ids in an order, from the database in one piece.
    QList<int> expectedIds(const QString &orderBy)
    {
        QString sql = query.left(query.indexOf(" order by")) + " order by " + orderBy;
        QList<int> ids;
        const Recordset rs = db.con->query(sql);
        for (const QVariantList &row : rs.rows())
            ids << row.at(0).toInt();
        return ids;
    }
};

TEST_P(RegisterList, ScrollingEitherWayOrderingAndSearchingShowEveryRowOnceInOrder)
{
    // Opened on the newest page; scrolling up brings the rest in front of it.
    EXPECT_EQ(model.rowCount(), RegisterModel::PageSize);
    EXPECT_EQ(model.text(model.rowCount() - 1, 1), "T0299");
    while (model.fetchOlder() > 0) {
    }
    EXPECT_EQ(shownIds(), expectedIds("whid"));

    // Ordered by user, descending, without regard to case; scrolling down brings the rest.
    model.setOrder({3, false});
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(shownIds(), expectedIds("upper(whusername) desc, whid desc"));
    model.setOrder({4, true});
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(shownIds(), expectedIds("whcancelled, whid"));

    // A search shows the list around the first match.
    model.setOrder({1, true});
    const std::optional<int> found = model.findTyped("t025");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(model.text(*found, 1), "T0250");
    EXPECT_EQ(*found, RegisterModel::RowsAbove);
    EXPECT_EQ(model.text(*found - 1, 1), "T0249");
    const QList<int> around = shownIds();
    EXPECT_FALSE(model.findTyped("T9").has_value());
    EXPECT_EQ(shownIds(), around) << "nothing found leaves the rows shown";
    model.setOrder({4, true});
    const std::optional<int> cancelled = model.findTyped("y");
    ASSERT_TRUE(cancelled.has_value()) << "the flag columns are searched by their texts";
    EXPECT_EQ(model.text(*cancelled, 4), "Yes");
    EXPECT_EQ(model.text(*cancelled - 1, 4), "No");

    // Another terminal's new return stays out; one saved here is found in its place.
    db.con->execute("insert into LOsPurchaseReturnHeader (whShopID, WhID, WhNo, WhDate, WhUserName, whcancelled, "
                    "whposted, Whtransfinished) values (1, 2000, 'T2000', ?, 'zed', 0, 0, 0), "
                    "(1, 2001, 'T2001', ?, 'zed', 0, 0, 0)",
                    {kToday, kToday});
    model.setOrder({0, true});
    const std::optional<int> added = model.reopenAt(TransactionId(2001));
    ASSERT_TRUE(added.has_value());
    EXPECT_EQ(model.text(*added, 1), "T2001");
    EXPECT_EQ(model.text(*added - 1, 1), "T0299") << "T2000 was saved elsewhere";
}

SHOP_ON_ALL_BACKENDS(RegisterList);

} // namespace
} // namespace shop::test
