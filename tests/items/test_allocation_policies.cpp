#include "common/ui/AllocationGrid.h"
#include "common/core/Conversions.h"
#include "items/AllocationPolicies.h"
#include "items/BatchProposal.h"
#include "support/ModuleStateScope.h"
#include "support/ScriptedUi.h"
#include "support/TestDatabase.h"
#include "support/TextInputs.h"

#include <QComboBox>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QTableView>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace shop::test {
namespace {

// One kind of allocation and what its grid answers.
struct PolicyCase {
    const char *name;
    std::function<std::unique_ptr<AllocationPolicy>(AllocationContext &)> make;
    qint32 itemId;
    QStringList entries;        // what the combo offers
    QString proposedForThree;   // the quantity a pick writes into an empty row of a line of 3
    bool enterGoesToQuantity;   // else Enter in the combo completes the row
    QString deleteQuestion;     // asked by the Delete key; empty: the key deletes nothing
    QString duplicateMessage;
    bool takesLabels;           // a typed or scanned label is a pick; the list offers what is left
    QStringList enterMessages;  // Enter on a quantity of 0, on rows holding more than the line
    bool clearsRefusedQuantity;
    QStringList rowCheckMessages; // blank first entry, zero quantity, the same entry twice, a later entry blank
    QString shortSumMessage;      // rows holding less than the line; empty: the window checks it
    QString overBalanceMessage;   // a row holding 22, more than the first entry's balance; empty: passes
    QString notListedMessage;     // a scanned label not in the list
};

void PrintTo(const PolicyCase &c, std::ostream *os) { *os << c.name; }

class AllocationPolicies : public ::testing::TestWithParam<PolicyCase> {
protected:
    TestDatabase db{Backend::Sqlite, TestDatabase::Content::Demo};
    ModuleStateScope session{db.con};
    ScriptedUiScope ui;
    AllocationContext context{*db.con};
    std::unique_ptr<AllocationPolicy> policy;
    QWidget window;
    AllocationGrid *g = nullptr;
    Decimal line = Decimal::fromInt(3);

    void SetUp() override
    {
        session.login();
        // A third batch of milk, so that every entry of the batch combo has stock.
        db.con->execute("insert into losExpiryArrivalDetails (eadInterfaceId, eadTransId, eadExpiryDate, eadBatchNo, "
                        "eadShopId, eadItemId, eadItemQty, eadCancel) values (1001, 9, '2027-03-01', 'B1003', 1, 1, 5, 0)");
        context.owner = {1, GetParam().itemId, {}, 1901};
        policy = GetParam().make(context);
        g = new AllocationGrid(*policy, &window);
        (new QVBoxLayout(&window))->addWidget(&g->grid());
        g->setLineQuantity([this] { return line; });
        QList<AllocationEntry> entries;
        for (int i = 0; i < GetParam().entries.size(); ++i)
            entries << AllocationEntry{GetParam().entries.at(i), i + 1, {}};
        g->setEntries(entries);
        g->quantityBox().setEnabled(GetParam().enterGoesToQuantity);
        window.resize(500, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        g->openEditor();
    }

    const AllocationLayout &layout() const { return g->layout(); }
    QString entry(int i) const { return GetParam().entries.at(i); }
    QWidget *focused() const { return window.focusWidget(); }
    void pick(int i)
    {
        const int at = g->combo().findText(entry(i), Qt::MatchExactly);
        ASSERT_GE(at, 0) << entry(i).toStdString() << " is not offered";
        g->combo().setCurrentIndex(at);
        emit g->combo().activated(at);
    }
    // Picks the entry and Enters the row's quantity (typed when the box takes it and
    // Enter has moved there).
    void fillRow(int i, const QString &quantity)
    {
        pick(i);
        QTest::keyClick(&g->combo(), Qt::Key_Return);
        if (!GetParam().enterGoesToQuantity)
            return;
        ASSERT_EQ(focused(), &g->quantityBox());
        g->quantityBox().selectAll();
        QTest::keyClicks(&g->quantityBox(), quantity);
        QTest::keyClick(&g->quantityBox(), Qt::Key_Return);
    }
    QStringList column(int col) const
    {
        QStringList out;
        for (int r = 1; r <= g->dataRowCount(); ++r)
            out << g->text(r, col);
        return out;
    }
    // Rows of an entry and a quantity each.
    QList<QStringList> cellsOf(const QList<std::pair<QString, QString>> &rows) const
    {
        QList<QStringList> cells;
        for (const auto &[key, quantity] : rows) {
            QStringList c(layout().headers.size());
            c[layout().comboColumn] = key;
            c[layout().quantityColumn] = quantity;
            cells << c;
        }
        return cells;
    }
    void setRows(const QList<std::pair<QString, QString>> &rows) { g->setDataRows(cellsOf(rows)); }
};

TEST_P(AllocationPolicies, APickWritesTheEntryAndProposesWhatTheLineLacks)
{
    ASSERT_EQ(focused(), &g->combo());
    pick(0);
    EXPECT_EQ(g->text(1, layout().comboColumn), entry(0));
    EXPECT_EQ(g->text(1, layout().quantityColumn), GetParam().proposedForThree);
}

TEST_P(AllocationPolicies, EnterFillsRowAfterRowAndLeavesWhenTheRowsHoldTheLine)
{
    line = Decimal::fromInt(2);
    QSignalSpy left(g, &AllocationGrid::leftForward);
    fillRow(0, "1");
    ASSERT_EQ(g->dataRowCount(), 2) << "1 of 2: a row for the rest";
    EXPECT_EQ(focused(), &g->combo());
    EXPECT_EQ(g->text(2, 0), "2");
    fillRow(1, "1");
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(g->sum(), Decimal::fromInt(2));
    EXPECT_EQ(column(layout().comboColumn), QStringList({entry(0), entry(1)}));
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");
}

TEST_P(AllocationPolicies, ShiftEnterStepsBackAndLeavesFromTheFirstRow)
{
    QSignalSpy back(g, &AllocationGrid::leftBackward);
    fillRow(0, "1");
    ASSERT_EQ(g->dataRowCount(), 2);
    QTest::keyClick(&g->combo(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(g->currentRow(), 1);
    EXPECT_EQ(focused(), GetParam().enterGoesToQuantity ? static_cast<QWidget *>(&g->quantityBox()) : &g->combo());
    if (GetParam().enterGoesToQuantity)
        QTest::keyClick(&g->quantityBox(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(back.count(), 0);
    QTest::keyClick(&g->combo(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(back.count(), 1);
    EXPECT_FALSE(g->combo().isVisible());
}

TEST_P(AllocationPolicies, DeleteAndThePopupsDeleteAskThenRemoveTheRowAndNumberTheRest)
{
    setRows({{entry(0), "1"}, {entry(1), "1"}, {entry(2), "1"}});
    g->openCell(2, layout().comboColumn);
    if (!GetParam().deleteQuestion.isEmpty())
        ui->answer(MsgAnswer::Yes);
    QTest::keyClick(&g->grid(), Qt::Key_Delete);
    if (GetParam().deleteQuestion.isEmpty()) {
        EXPECT_TRUE(ui->questions().empty());
        EXPECT_EQ(g->dataRowCount(), 3);
        g->rows().removeRow(2);
    } else {
        ASSERT_EQ(ui->questions().size(), 1u);
        EXPECT_EQ(ui->questions()[0].text, GetParam().deleteQuestion);
    }
    EXPECT_EQ(column(0), QStringList({"1", "2"}));
    EXPECT_EQ(column(layout().comboColumn), QStringList({entry(0), entry(2)}));

    // The popup menu: a right click marks the row, its Delete asks; No keeps it.
    QSignalSpy popup(g, &AllocationGrid::popupRequested);
    const QRect second = g->grid().visualRect(g->grid().model()->index(1, layout().comboColumn));
    QTest::mouseClick(g->grid().viewport(), Qt::RightButton, {}, second.center());
    ASSERT_EQ(popup.count(), 1);
    EXPECT_EQ(g->currentRow(), 2);
    ui->answer(MsgAnswer::No);
    g->deleteCurrentRow();
    EXPECT_EQ(g->dataRowCount(), 2);
    ui->answer(MsgAnswer::Yes);
    g->deleteCurrentRow();
    ui->answer(MsgAnswer::Yes);
    g->deleteCurrentRow();
    EXPECT_EQ(g->dataRowCount(), 1) << "the only row is emptied, not removed";
    EXPECT_EQ(g->text(1, 0), "1");
    EXPECT_TRUE(g->text(1, layout().comboColumn).isEmpty());
    EXPECT_TRUE(g->filledRows().isEmpty());
}

TEST_P(AllocationPolicies, TheSameEntryTwiceIsRefused)
{
    line = Decimal::fromInt(5);
    fillRow(0, "1");
    ui->clearRecords();
    if (GetParam().takesLabels) {
        EXPECT_FALSE(g->offeredEntries().contains(entry(0))) << "the list offers only what is left";
        EXPECT_EQ(g->combo().currentIndex(), -1) << "an empty row shows nothing chosen";
        QTest::keyClicks(&g->combo(), entry(0));
        QTest::keyClick(&g->combo(), Qt::Key_Return);
        EXPECT_TRUE(g->text(2, layout().comboColumn).isEmpty());
        EXPECT_TRUE(g->combo().currentText().isEmpty()) << "ready for the next scan";
    } else {
        pick(0);
        QTest::keyClick(&g->combo(), Qt::Key_Return);
    }
    EXPECT_EQ(focused(), &g->combo()) << "Enter does not leave the entry";
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, GetParam().duplicateMessage);
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Exclamation);
}

TEST_P(AllocationPolicies, KeysTypedIntoTheEntryCell)
{
    if (!GetParam().takesLabels) {
        // Any other key drops the list.
        QTest::keyClick(&g->combo(), Qt::Key_B);
        EXPECT_TRUE(g->combo().view()->isVisible());
        g->combo().hidePopup();
        return;
    }
    // A label read by a scanner (any case) and Enter is the pick of that entry.
    QTest::keyClicks(&g->combo(), entry(1).toLower());
    QTest::keyClick(&g->combo(), Qt::Key_Return);
    EXPECT_EQ(g->text(1, layout().comboColumn), entry(1));
    EXPECT_EQ(g->text(1, layout().quantityColumn), GetParam().proposedForThree);
    EXPECT_EQ(focused(), GetParam().enterGoesToQuantity ? static_cast<QWidget *>(&g->quantityBox()) : &g->combo());
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ");

    // One that is not listed is refused, and the cell waits for the next scan.
    const int row = g->currentRow();
    g->openCell(row, layout().comboColumn);
    QTest::keyClicks(&g->combo(), "NOPE-1");
    QTest::keyClick(&g->combo(), Qt::Key_Return);
    ASSERT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(ui->messages()[0].text, GetParam().notListedMessage);
    EXPECT_EQ(ui->messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(g->text(row, layout().comboColumn).isEmpty());
    EXPECT_EQ(focused(), &g->combo());
    EXPECT_TRUE(g->combo().currentText().isEmpty());
}

TEST_P(AllocationPolicies, EnterOnNoQuantityOrMoreThanTheLineStaysInTheRow)
{
    line = Decimal::fromInt(1);
    QSignalSpy left(g, &AllocationGrid::leftForward);
    for (const QString &quantity : {QString("0"), QString("2")}) {
        setRows({{entry(0), quantity}});
        if (GetParam().enterGoesToQuantity) {
            g->openCell(1, layout().quantityColumn);
            QTest::keyClick(&g->quantityBox(), Qt::Key_Return);
        } else {
            g->openCell(1, layout().comboColumn);
            QTest::keyClick(&g->combo(), Qt::Key_Return);
        }
        EXPECT_EQ(g->dataRowCount(), 1);
        EXPECT_EQ(g->text(1, layout().quantityColumn), GetParam().clearsRefusedQuantity ? "" : quantity);
    }
    EXPECT_EQ(left.count(), 0);
    EXPECT_EQ(ui->messageTexts(), GetParam().enterMessages);
}

TEST_P(AllocationPolicies, OkChecksTheRowsAndSumsThemExactly)
{
    // The row rules need no widgets: a model of rows will do.
    AllocationModel rows(policy->layout());
    const auto setRowsOf = [&](const QList<std::pair<QString, QString>> &list) { rows.setRows(cellsOf(list)); };
    setRowsOf({{entry(0), "0.3"}, {entry(1), "0.3"}, {entry(2), "0.3"}});
    EXPECT_EQ(rows.sum(), *Decimal::parse("0.9"));
    EXPECT_FALSE(policy->checkRows(rows, *Decimal::parse("0.9"))) << "0.3 + 0.3 + 0.3 is 0.9";

    const auto refusal = [&](const QList<std::pair<QString, QString>> &list, Decimal quantity) {
        setRowsOf(list);
        const auto r = policy->checkRows(rows, quantity);
        return r ? r->message : QString("passes");
    };
    const Decimal two = Decimal::fromInt(2);
    const QStringList &expected = GetParam().rowCheckMessages;
    EXPECT_EQ(refusal({{"", "1"}, {"X2", "1"}}, two), expected.value(0));
    EXPECT_EQ(refusal({{"X1", "2"}, {"X2", "0"}}, two), expected.value(1));
    EXPECT_EQ(refusal({{"X1", "1"}, {" x1 ", "1"}}, two), expected.value(2));
    EXPECT_EQ(refusal({{"X1", "1"}, {"", "1"}}, two), expected.value(3));
    EXPECT_EQ(refusal({{"X1", "1"}}, two), GetParam().shortSumMessage.isEmpty() ? "passes" : GetParam().shortSumMessage);
    const Decimal more = Decimal::fromInt(22);
    EXPECT_EQ(refusal({{entry(0), "22"}}, more),
              GetParam().overBalanceMessage.isEmpty() ? "passes" : GetParam().overBalanceMessage);
}

std::unique_ptr<AllocationPolicy> locations(AllocationContext &c) { return std::make_unique<LocationPolicy>(c); }
std::unique_ptr<AllocationPolicy> batches(AllocationContext &c) { return std::make_unique<ExpiryPolicy>(c); }
std::unique_ptr<AllocationPolicy> serials(AllocationContext &c) { return std::make_unique<SerialPolicy>(c); }

TEST_P(AllocationPolicies, QuantityBoxTakesANumberTypedOrPastedAndNoOtherText)
{
    pick(0);
    QLineEdit &box = g->quantityBox();
    box.setEnabled(true);
    enterText(&box, "2", Way::Pasted);
    EXPECT_EQ(box.text(), "2");
    eachInput([&](const Input &input, Way way, const QString &what) {
        box.setText("1");
        enterText(&box, input.text, way);
        EXPECT_EQ(box.text(), "1") << what.toStdString();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AllocationPolicies,
    ::testing::Values(
        PolicyCase{"Locations", locations, 5, {"Front shelf", "Back store", "Cold room"}, "3", true,
                   "Are you sure to delete the selected row.  ", "This location is already entered", false, {}, false,
                   {"Location Name cannot be blank.   ", "Invalid Quantity.   ", "This location is already entered.   ",
                    "Location Name cannot be blank.   "},
                   "", "", ""},
        PolicyCase{"ExpiryBatches", batches, 1, {"B1001", "B1002", "B1003"}, "3", true, "",
                   "This Batch No is already entered", true,
                   {"Invalid Quantity", "Expiry Quantity should not be more than Purchase Return Quantity."}, false,
                   {" Please enter the Expiry details and continue ", "Invalid Expiry Quantity.   ",
                    "Batch No Duplication Found.", "Invalid Date.   "},
                   "The 'Write Off Qty' and  - Expiry Date wise Quantity' must be equal.   ",
                   "Quantity cannot be greater than 21", "Batch No NOPE-1 is not in stock"},
        PolicyCase{"SerialNumbers", serials, 3, {"SN-TV-0002", "SN-TV-0003", "SN-TV-0004"}, "1", false,
                   "Do you want to delete the selected row ?", "This Serial No already entered", true,
                   {"Invalid Quantity", "Quantity exceed the necessary quantity"}, true,
                   {"Serial No cannot be blank", "Invalid Quantity", "This Serial No is already entered",
                    "Serial No cannot be blank"},
                   "The Serial No Quantity - Write Off Quantity must be equal", "", "Serial No NOPE-1 is not in stock"}),
    [](const auto &kind) { return std::string(kind.param.name); });

// The proposal by expiry: earliest first, ties by batch number, each within its balance,
// a batch under two dates once (the earlier).
TEST(BatchProposal, OldestStockGoesFirstWithinEachBalance)
{
    const auto d = [](int month, int day) { return QDate(2027, month, day); };
    const QList<BatchBalance> stock = {{"B3", d(3, 1), Decimal::fromInt(4)},
                                       {"B1", d(5, 1), Decimal::fromInt(9)},
                                       {"B2", d(3, 1), Decimal::fromInt(2)},
                                       {"B1", d(2, 1), Decimal::fromInt(1)}};
    const auto proposal = [&](int quantity) {
        QStringList out;
        for (const QStringList &row : proposeBatches(stock, Decimal::fromInt(quantity)))
            out << row.mid(0, 4).join('|');
        return out;
    };
    const struct {
        int quantity;
        QStringList rows;
    } cases[] = {
        {0, {}},
        {1, {"1|B1|" + displayDate(d(2, 1)) + "|1"}},
        {4, {"1|B1|" + displayDate(d(2, 1)) + "|1", "2|B2|" + displayDate(d(3, 1)) + "|2",
             "3|B3|" + displayDate(d(3, 1)) + "|1"}},
        {50, {"1|B1|" + displayDate(d(2, 1)) + "|1", "2|B2|" + displayDate(d(3, 1)) + "|2",
              "3|B3|" + displayDate(d(3, 1)) + "|4"}}, // short: the rest is the clerk's
    };
    for (const auto &c : cases)
        EXPECT_EQ(proposal(c.quantity), c.rows) << c.quantity;
}

} // namespace
} // namespace shop::test
