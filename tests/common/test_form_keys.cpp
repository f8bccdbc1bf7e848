#include "common/FocusChain.h"
#include "common/FormKeys.h"
#include "common/QtUi.h"
#include "common/Ui.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace shop;

namespace {

struct Form {
    QDialog window;
    QLineEdit *first = new QLineEdit(&window);
    QLineEdit *disabled = new QLineEdit(&window);
    QLineEdit *hidden = new QLineEdit(&window);
    QPushButton *last = new QPushButton(QStringLiteral("OK"), &window);
    Form()
    {
        first->setObjectName(QStringLiteral("txtFirst"));
        disabled->setObjectName(QStringLiteral("txtDisabled"));
        hidden->setObjectName(QStringLiteral("txtHidden"));
        last->setObjectName(QStringLiteral("cmdOK"));
        last->setFocusPolicy(Qt::StrongFocus);
        disabled->setEnabled(false);
        hidden->setVisible(false);
    }
};

} // namespace

TEST(FocusChain, TabSkipsDisabledAndHiddenControlsAndWrapsAround)
{
    Form f;
    EXPECT_EQ(nextTabStop(f.first, false), f.last);
    EXPECT_EQ(nextTabStop(f.last, false), f.first);
    EXPECT_EQ(nextTabStop(f.first, true), f.last);
}

TEST(FocusChain, ScriptedUiMovesTheFocusOfAWindowNotOnScreen)
{
    test::ScriptedUiScope scope;
    Form f;
    Ui::current().focusNext(f.first);
    EXPECT_EQ(f.window.focusWidget(), f.last);
    Ui::current().sendKey(f.last, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(f.window.focusWidget(), f.first);
    ASSERT_EQ(scope->focusMoves().size(), 2u);
    EXPECT_EQ(scope->focusMoves()[1].to, QStringLiteral("txtFirst"));
    Ui::current().sendKey(f.first, Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(f.first->text(), QStringLiteral("a"));
}

TEST(FormKeys, EnterMovesOnAndBlankTextIsRefused)
{
    test::ScriptedUiScope scope;
    Form f;
    EnterToTab('a', f.first);
    EXPECT_TRUE(scope->focusMoves().empty());
    EnterToTab(13, f.first);
    EXPECT_EQ(f.window.focusWidget(), f.last);

    f.first->setText(QStringLiteral("   "));
    EXPECT_FALSE(fnCheckEmpty(f.first, QStringLiteral("Enter the remarks"), QStringLiteral("Harbour Market")));
    EXPECT_EQ(f.window.focusWidget(), f.first);
    ASSERT_EQ(scope->messages().size(), 1u);
    EXPECT_EQ(scope->messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(scope->messages()[0].title, QStringLiteral("Harbour Market"));
    f.first->setText(QStringLiteral(" x "));
    EXPECT_TRUE(fnCheckEmpty(f.first, QStringLiteral("Enter the remarks"), QStringLiteral("Harbour Market")));
}

TEST(QtUi, EnterTakesTheDefaultAnswerOfAQuestion)
{
    QtUi qt;
    QString shownTitle;
    QTimer::singleShot(0, [&shownTitle] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        shownTitle = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(qt.ask(QStringLiteral("Delete the entry?"), MsgButtons::YesNo, MsgAnswer::No, MsgIcon::Question,
                     QStringLiteral("Harbour Market")),
              MsgAnswer::No);
    EXPECT_EQ(shownTitle, QStringLiteral("Harbour Market"));
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
