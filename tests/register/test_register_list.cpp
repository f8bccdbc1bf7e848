// The register's list read a page at a time: whichever way the clerk scrolls, orders
// or searches, the rows are the list statement's rows, each once, in the order chosen.

#include "common/core/Conversions.h"
#include "register/RegisterData.h"
#include "register/RegisterGrid.h"
#include "register/RegisterModel.h"
#include <rtnmod08/Recordset.h>
#include "support/TestDatabase.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <functional>

namespace shop::test {
namespace {

const QDate kToday(2026, 12, 6);

class RegisterList : public DemoTest {
protected:
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

    // A search shows the list from the first match; the rows above it come when asked for.
    ASSERT_EQ(model.findTyped({1, true}, "t025"), 0);
    EXPECT_EQ(model.text(0, 1), "T0250");
    const QList<int> from = shownIds();
    EXPECT_FALSE(model.findTyped({1, true}, "T9").has_value());
    EXPECT_EQ(shownIds(), from) << "nothing found leaves the rows shown";
    EXPECT_EQ(model.text(model.fetchOlder() - 1, 1), "T0249");
    ASSERT_EQ(model.findTyped({4, true}, "y"), 0) << "the flag columns are searched by their texts";
    EXPECT_EQ(model.text(0, 4), "Yes");
    EXPECT_EQ(model.text(model.fetchOlder() - 1, 4), "No");

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

// As the register opens: the current row and the top row are chosen before the list is
// shown, and its id column is hidden.
TEST_P(RegisterList, OpensOnTheNewestRowInViewAndTheKeysMoveFromIt)
{
    RegisterGrid grid;
    grid.resize(400, 300);
    grid.listModel().open(db.con, query);
    grid.setRow(grid.rows() - 1);
    grid.setTopRow(grid.row());
    grid.setColWidth(0, 0);
    grid.show();
    EXPECT_TRUE(grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex()))) << "the newest return is on screen";
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.textMatrix(grid.row(), 1), "T0298");
}

// A search shows its match in the first row and reads nothing above it; every way the
// clerk moves up from there reaches the rows above.
TEST_P(RegisterList, EveryWayUpFromAFoundRowReachesTheRowsAboveIt)
{
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        return [=](RegisterGrid &grid) { QTest::keyClick(&grid, k, modifiers); };
    };
    const auto wheelUp = [](RegisterGrid &grid) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(grid.viewport(), &wheel);
    };
    const auto arrowUp = [](RegisterGrid &grid) {
        grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    };
    // How many rows above the match the clerk stands afterwards, and the top row on screen
    // (a page: more than one, at most a screen's); or the return the clerk stands on at one
    // of the list's own ends.
    using Range = std::pair<int, int>;
    struct Place {
        Range current, top;
    };
    const QList<int> byNumber = expectedIds("upper(coalesce(whno, '')), whid");
    const struct {
        const char *how;
        std::function<void(RegisterGrid &)> move;
        std::optional<Place> up;
        int endId;
    } moves[] = {{"Up", key(Qt::Key_Up), Place{{1, 1}, {1, 1}}, 0},
                 {"PgUp", key(Qt::Key_PageUp), Place{{2, 30}, {2, 30}}, 0},
                 {"wheel", wheelUp, Place{{0, 0}, {1, 3}}, 0},
                 {"scroll bar arrow", arrowUp, Place{{0, 0}, {1, 1}}, 0},
                 {"Ctrl+Home", key(Qt::Key_Home, Qt::ControlModifier), std::nullopt, byNumber.front()},
                 {"Ctrl+End", key(Qt::Key_End, Qt::ControlModifier), std::nullopt, byNumber.back()}};
    const auto within = [](int n, Range r) { return n >= r.first && n <= r.second; };
    for (const auto &m : moves) {
        RegisterGrid grid;
        grid.resize(400, 300);
        grid.show();
        grid.listModel().open(db.con, query);
        grid.setColWidth(0, 0); // as in the register: the id is not shown
        grid.standOnFound(*grid.listModel().findTyped({1, true}, "T025") + 1);
        ASSERT_EQ(grid.row(), 1) << m.how;
        ASSERT_EQ(grid.rowAt(0), 0) << m.how;

        m.move(grid);
        if (!m.up) {
            EXPECT_EQ(grid.textMatrix(grid.row(), 0).toInt(), m.endId) << m.how;
            continue;
        }
        int match = grid.row();
        while (match < grid.rows() && grid.textMatrix(match, 1) != "T0250")
            ++match;
        EXPECT_EQ(grid.textMatrix(match - 1, 1), "T0249") << m.how;
        EXPECT_TRUE(within(match - grid.row(), m.up->current)) << m.how << ": " << match - grid.row() << " rows up";
        // The rows read above do not throw the clerk to their start: the screen moves as far as asked.
        const int topUp = match - (grid.rowAt(0) + 1);
        EXPECT_TRUE(within(topUp, m.up->top)) << m.how << ": the top row is " << topUp << " rows up";
    }
}

SHOP_ON_ALL_BACKENDS(RegisterList);

// The list's cells read without a pattern per cell show what any other cell of the module shows.
TEST(ListedCellText, ShowsWhatTheModulesCellTextShows)
{
    const QVariant values[] = {QVariant("2026-12-06"), QVariant(" 2026-12-06 "), QVariant("2026-02-30"),
                               QVariant("2026-1a-06"), QVariant("0000-01-01"), QVariant("2026-12-0٣"), QVariant("2026-12-06 10:00:00"), QVariant("  PR1 "),
                               QVariant("Yes"), QVariant(""), QVariant(QMetaType::fromType<QString>()),
                               QVariant(QDate(2026, 1, 5)), QVariant(QDate(999, 1, 5)), QVariant(QDate()),
                               QVariant(QDateTime(QDate(2026, 3, 4), QTime(0, 0))), QVariant(42),
                               QVariant(qint64(1) << 40), QVariant(QMetaType::fromType<int>()), QVariant(2.5), QVariant()};
    for (const QVariant &value : values)
        EXPECT_EQ(reg::listedCellText(value), cellText(value)) << value.typeName() << " " << value.toString().toStdString();
}

} // namespace
} // namespace shop::test
