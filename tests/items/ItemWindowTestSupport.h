#pragma once

#include "common/ui/AllocationGrid.h"
#include "editor/frmStockDetails.h"
#include "items/frmItemDetails.h"
#include "register/RegisterTestSupport.h"
#include "support/RowText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace shop::test {

// A clerk at the keyboard: the register, the editor and the item window of the
// module, each driven while it is up, on a fresh demo database.
class ClerkTest : public RegisterTest {
protected:
    using ItemSession = std::function<void(frmItemDetails &)>;
    using EditorSession = std::function<void(frmStockDetails &)>;

    // New in the register; `work` runs in the editor while it is up. The editor is
    // closed afterwards unless the work did (a save closes it).
    void newReturn(const EditorSession &work) { runEditor(work, [this] { master->cmdnew_Click(); }); }
    void editReturn(const QString &number, const EditorSession &work)
    {
        runEditor(work, [&] {
            standOn(number);
            master->CmdEdit_Click();
        });
    }
    // Add (F10 on an empty list, else the popup's Add) or Edit of the editor's current
    // line; `work` runs in the item window, which is closed afterwards unless the work did.
    void addLines(frmStockDetails &editor, const ItemSession &work) { runItems(work, [&] { editor.mnuAdd_Click(); }); }
    void editLine(frmStockDetails &editor, int position, const ItemSession &work)
    {
        editor.lines().select(position);
        runItems(work, [&] { editor.mnuEdit_Click(); });
    }
    // Types a code and Enter into the code box, a quantity and Enter into the write-off box.
    static void scan(frmItemDetails &w, const QString &code)
    {
        w.controls().txtBarcode->setFocus();
        w.controls().txtBarcode->selectAll();
        QTest::keyClicks(w.controls().txtBarcode, code);
        QTest::keyClick(w.controls().txtBarcode, Qt::Key_Return);
    }
    static void writeOff(frmItemDetails &w, const QString &quantity)
    {
        QTest::keyClicks(w.controls().txtWriteQty, quantity);
        QTest::keyClick(w.controls().txtWriteQty, Qt::Key_Return);
    }
    static QWidget *focused(frmItemDetails &w) { return w.focusWidget(); }
    // Picks the combo's entry as a choice in its list would.
    static void pick(AllocationGrid &g, const QString &entry)
    {
        const int index = g.combo().findText(entry, Qt::MatchExactly);
        ASSERT_GE(index, 0) << entry;
        g.combo().setCurrentIndex(index);
        emit g.combo().activated(index);
    }
    static QStringList entries(const AllocationGrid &g)
    {
        return g.entries();
    }
    static void enter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }
    static void type(QWidget *w, const QString &text) { QTest::keyClicks(w, text); }
    // The grid's rows as shown, cells joined by '|' up to the column given.
    static QStringList gridRows(const AllocationGrid &g, int columns)
    {
        QStringList out;
        for (int r = 1; r <= g.dataRowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << g.rows().index(r - 1, c).data().toString();
            out << cells.join('|');
        }
        return out;
    }
    static void saveWithRemark(frmStockDetails &editor, const QString &remark)
    {
        editor.controls().txtRemark->setText(remark);
        QTest::mouseClick(editor.controls().cmdOK, Qt::LeftButton);
    }
    qint32 lastReturnId(qint32 shop)
    {
        return db.con->scalar("select max(whid) from LOsPurchaseReturnHeader where whshopid = ?", {shop}).toInt();
    }
    QStringList rows(const QString &statement, const QVariantList &values = {}) { return rowsOf(*db.con, statement, values); }

private:
    void runEditor(const EditorSession &work, const std::function<void()> &open)
    {
        ui->onWindow("frmStockDetails", [&](QDialog &window) {
            auto *editor = qobject_cast<frmStockDetails *>(&window);
            ASSERT_NE(editor, nullptr);
            work(*editor);
            if (window.isVisible())
                window.done(QDialog::Rejected); // closed without the question about saving
        });
        open();
    }
    void runItems(const ItemSession &work, const std::function<void()> &open)
    {
        ui->onWindow("frmItemDetails", [&](QDialog &window) {
            auto *items = qobject_cast<frmItemDetails *>(&window);
            ASSERT_NE(items, nullptr);
            // Focus moves as on screen only in the active window.
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            work(*items);
            if (window.isVisible())
                window.reject();
        });
        open();
    }
};

} // namespace shop::test
