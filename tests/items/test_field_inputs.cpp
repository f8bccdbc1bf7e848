#include "ItemWindowTestSupport.h"
#include "common/db/ConnectionInternals.h"
#include "support/TextInputs.h"

#include "editor/frmCancel.h"
#include "printing/frmPrint.h"
#include "support/RecordingErrorTracker.h"

namespace shop::test {
namespace {

class FieldInputs : public ClerkTest {
protected:
    ErrorTrackerScope errors;

    void SetUp() override
    {
        // Every statement is recorded: typed text only ever travels as a bound value.
        setStatementObserver(*db.con, [this](const QString &, const QString &text) { statements << text; });
    }
    void TearDown() override
    {
        setStatementObserver(*db.con, {});
        ClerkTest::TearDown();
    }
    void expectSound(const QString &what)
    {
        EXPECT_TRUE(errors.routines().isEmpty()) << what.toStdString() << ": " << errors.routines().join(", ").toStdString();
        EXPECT_GT(db.con->scalar("select count(*) from aItem").toInt(), 0) << what.toStdString();
        for (const QString &s : std::as_const(statements))
            for (const char *typed : {"drop table", "Brien", "中文", "Ab'é"})
                EXPECT_FALSE(s.contains(QString::fromUtf8(typed), Qt::CaseInsensitive))
                    << what.toStdString() << ": " << s.left(200).toStdString();
        statements.clear();
        errors.clear();
    }

    QStringList statements;
};

TEST_P(FieldInputs, RegisterSearchTakesAnyTextAndKeepsTheList)
{
    open();
    EXPECT_EQ(textFields(*master), QStringList{"txtsearch"});
    auto *search = master->findChild<QLineEdit *>("txtsearch");
    auto *columns = master->findChild<QComboBox *>("cboSearch");
    const QStringList before = numbers();
    for (int column = 0; column < columns->count(); ++column) {
        columns->setCurrentIndex(column);
        eachInput([&](const Input &input, Way way, const QString &name) {
            enterText(search, input.text, way);
            const QString what = name + " in column " + columns->currentText();
            EXPECT_EQ(search->text(), input.text) << what.toStdString();
            EXPECT_EQ(QStringList(numbers()).size(), before.size()) << what.toStdString();
            expectSound(what);
        });
    }
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ").toStdString();
}

TEST_P(FieldInputs, EditorStoresTheHeaderTextsAsTypedAndTrimmed)
{
    // A return of each type: the received-by and approved-by boxes show for inter-department ones.
    const std::pair<QLineEdit *frmStockDetails::Controls::*, const char *> fields[] = {
        {&frmStockDetails::Controls::txtUserName, "whusername"},
        {&frmStockDetails::Controls::txtRemark, "whremarks"},
        {&frmStockDetails::Controls::txtreceived, "whreceivedby"},
        {&frmStockDetails::Controls::txtapproved, "whauthorisedby"}};
    int saves = 0;
    for (const char *type : {"P", "I"}) {
        open(1, 2, type); // no stock by location: a line needs only its quantity
        eachInput([&](const Input &input, Way way, const QString &name) {
            const QString what = name + " type " + type;
            QStringList expected;
            newReturn([&](frmStockDetails &editor) {
                const auto &c = editor.controls();
                EXPECT_EQ(textFields(editor), QStringList({"txtRemark", "txtUserName", "txtapproved", "txtreceived"}));
                addLines(editor, [&](frmItemDetails &w) {
                    scan(w, "5012345000059");
                    writeOff(w, "1");
                    QTest::mouseClick(w.controls().cmdOK, Qt::LeftButton);
                });
                for (const auto &[box, column] : fields) {
                    QLineEdit *field = c.*box;
                    if (field->isHidden()) { // a purchase return stores none
                        expected << "";
                        continue;
                    }
                    enterText(field, input.text, way);
                    const QString typed = kept(input.text, way, false, field->maxLength());
                    EXPECT_EQ(field->text(), typed) << what.toStdString() << " in " << column;
                    expected << typed.trimmed();
                }
                for (QComboBox *choice : {c.cbodepartment, c.cboApartmentNo})
                    if (choice->isVisible() && choice->currentIndex() < 0)
                        choice->setCurrentIndex(0);
                QTest::mouseClick(c.cmdOK, Qt::LeftButton);
                EXPECT_FALSE(editor.isVisible()) << what.toStdString() << ": " << ui->messageTexts().join(" / ").toStdString();
            });
            ++saves;
            EXPECT_EQ(rows("select whusername, whremarks, whreceivedby, whauthorisedby from LOsPurchaseReturnHeader "
                           "where whshopid = 2 and whid = ?",
                           {lastReturnId(2)}),
                      QStringList{expected.join('|')})
                << what.toStdString();
            expectSound(what);
        });
    }
    EXPECT_EQ(saves, 16);
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ").toStdString();
}

TEST_P(FieldInputs, ItemWindowLooksCodesUpAsBoundValuesAndTakesOnlyNumbersAsQuantity)
{
    open(1, 2); // no stock by location: the write-off box goes straight to Ok
    int tries = 0;
    newReturn([&](frmStockDetails &editor) {
        addLines(editor, [&](frmItemDetails &w) {
            const auto &c = w.controls();
            // The batch and serial cells take a scanned label; it is only compared with their lists.
            EXPECT_EQ(textFields(w), QStringList({"cbobatchno", "cboserialno", "txtBarcode", "txtExpiryQty",
                                                  "txtLocationQuantity", "txtWriteQty", "txtquantitysl"}));
            eachInput([&](const Input &input, Way way, const QString &what) {
                ui->clearRecords();
                enterText(c.txtBarcode, input.text, way);
                EXPECT_EQ(c.txtBarcode->text(), kept(input.text, way, true, 50)) << what.toStdString();
                QTest::keyClick(c.txtBarcode, Qt::Key_Return);
                EXPECT_EQ(ui->messageTexts(), QStringList{"Scan valid barcode"}) << what.toStdString();
                expectSound(what);
            });

            // The write-off box takes a number, typed or pasted, and nothing else: none of
            // the inputs is one (the long number is longer than the box takes).
            scan(w, "5012345000059");
            ASSERT_EQ(c.cboItem->currentText(), "Long grain rice 5 kg");
            enterText(c.txtWriteQty, "3.25", Way::Pasted);
            EXPECT_EQ(c.txtWriteQty->text(), "3.25");
            eachInput([&](const Input &input, Way way, const QString &what) {
                c.txtWriteQty->setText("2");
                enterText(c.txtWriteQty, input.text, way);
                EXPECT_EQ(c.txtWriteQty->text(), "2") << what.toStdString();
                QTest::keyClick(c.txtWriteQty, Qt::Key_Return);
                expectSound(what);
                ++tries;
            });
        });
    });
    EXPECT_EQ(tries, 8);
}

TEST_P(FieldInputs, DeletionReasonIsStoredAsTypedOrPasted)
{
    open();
    eachInput([&](const Input &input, Way way, const QString &what) {
        db.con->execute("update LOsPurchaseReturnHeader set whcancelled = 0, whCancelledRemarks = null "
                        "where whshopid = 1 and whno = 'PR1'");
        frmCancel dialog{TransactionId(1), "PR1"};
        dialog.Form_Load();
        dialog.show();
        EXPECT_EQ(textFields(dialog), QStringList{"txtcanreason"});
        auto *reason = dialog.findChild<QLineEdit *>("txtcanreason");
        enterText(reason, input.text, way);
        const QString typed = kept(input.text, way, true, 200);
        EXPECT_EQ(reason->text(), typed) << what.toStdString();
        dialog.findChild<QPushButton *>("cmdOK")->click();
        EXPECT_TRUE(dialog.deleted()) << what.toStdString();
        EXPECT_EQ(rows("select whcancelled, whCancelledRemarks from LOsPurchaseReturnHeader "
                       "where whshopid = 1 and whno = 'PR1'"),
                  QStringList{"1|clerk:" + typed.trimmed()})
            << what.toStdString();
        expectSound(what);
    });
    EXPECT_TRUE(ui->messages().empty()) << ui->messageTexts().join(" / ").toStdString();
}

TEST_P(FieldInputs, PrintDialogHasNoTextField)
{
    open();
    frmPrint dialog{TransactionId(1)};
    EXPECT_TRUE(textFields(dialog).isEmpty()) << textFields(dialog).join(", ").toStdString();
}

SHOP_ON_ALL_BACKENDS(FieldInputs);

} // namespace
} // namespace shop::test
