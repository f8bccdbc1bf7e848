#include "common/ui/FocusChain.h"
#include "common/ui/FormKeys.h"
#include "common/ui/QtUi.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shop;

namespace {

struct Form {
    QDialog window;
    QLineEdit *first = new QLineEdit(&window);
    QLineEdit *disabled = new QLineEdit(&window);
    QLineEdit *hidden = new QLineEdit(&window);
    QPushButton *last = new QPushButton("OK", &window);
    Form()
    {
        last->setFocusPolicy(Qt::StrongFocus);
        disabled->setEnabled(false);
        hidden->setVisible(false);
    }
};

} // namespace

TEST(FormKeys, TabSkipsDisabledAndHiddenControlsEnterMovesOnAndBlankTextIsRefused)
{
    test::ScriptedUiScope scope;
    Form f;
    EXPECT_EQ(nextTabStop(f.first, false), f.last);
    EXPECT_EQ(nextTabStop(f.last, false), f.first);
    EXPECT_EQ(nextTabStop(f.first, true), f.last);

    EnterToTab('a', f.first);
    EXPECT_NE(f.window.focusWidget(), f.last);
    EnterToTab(13, f.first);
    EXPECT_EQ(f.window.focusWidget(), f.last);

    f.first->setText("   ");
    EXPECT_FALSE(fnCheckEmpty(f.first, "Enter the remarks", "Harbour Market"));
    EXPECT_EQ(f.window.focusWidget(), f.first);
    ASSERT_EQ(scope->messages().size(), 1u);
    EXPECT_EQ(scope->messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(scope->messages()[0].title, "Harbour Market");
    f.first->setText(" x ");
    EXPECT_TRUE(fnCheckEmpty(f.first, "Enter the remarks", "Harbour Market"));
}

TEST(QtUi, EnterTakesTheDefaultAnswerOfAQuestion)
{
    QtUi qt;
    QTimer::singleShot(0, [] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(qt.ask("Delete the entry?", MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question, "Harbour Market"),
              MsgAnswer::No);
}

TEST(QtUi, ModalWindowSitsOverItsOwnerOnlyWhileShown)
{
    QtUi qt;
    QWidget owner;
    QDialog window;
    QWidget *parentWhileShown = nullptr;
    QTimer::singleShot(0, [&] {
        parentWhileShown = window.parentWidget();
        window.accept();
    });
    EXPECT_EQ(qt.showModal(window, &owner), QDialog::Accepted);
    EXPECT_EQ(parentWhileShown, &owner);
    EXPECT_EQ(window.parentWidget(), nullptr);
}

TEST(QtUi, HourglassGivesWayWhileAWindowOrAMessageWaitsAndComesBackAfter)
{
    QtUi qt;
    const auto pointer = [] {
        const QCursor *c = QApplication::overrideCursor();
        return c ? c->shape() : Qt::ArrowCursor;
    };
    QList<Qt::CursorShape> whileWaiting;
    qt.setBusy(true);
    QDialog window;
    QTimer::singleShot(0, [&] {
        whileWaiting << pointer();
        // The window's own work shows the hourglass, and a message it shows does not.
        qt.setBusy(true);
        whileWaiting << pointer();
        QTimer::singleShot(0, [&] {
            whileWaiting << pointer();
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        qt.message("Saved", MsgIcon::Information, "Harbour Market");
        whileWaiting << pointer();
        qt.setBusy(false);
        window.accept();
    });
    qt.showModal(window, nullptr);
    EXPECT_EQ(whileWaiting,
              QList<Qt::CursorShape>({Qt::ArrowCursor, Qt::WaitCursor, Qt::ArrowCursor, Qt::WaitCursor}));
    EXPECT_EQ(pointer(), Qt::WaitCursor);
    qt.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
