#include "entry/ModuleWindows.h"
#include "editor/EditorChildWindows.h"
#include "register/FrmMaster.h"
#include "register/RegisterChildWindows.h"
#include "support/ModuleStateScope.h"
#include "support/TestDatabase.h"

#include "register/RegisterGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace shop::test {
namespace {

// The register with the real windows and message boxes on screen: what the pointer
// shows while each of them waits for the clerk.
class BusyPointerOnScreen : public DemoTest {
protected:
    ModuleStateScope session{db.con};
    std::unique_ptr<FrmMaster> master;
    QStringList waits; // each window that waited, with the pointer it showed meanwhile

    void SetUp() override
    {
        session.login();
        installModuleWindows();
        master = std::make_unique<FrmMaster>();
        master->Form_Load();
        master->show();
    }
    void TearDown() override
    {
        RegisterChildWindows::current() = {};
        EditorChildWindows::current() = {};
    }

    void standOn(const QString &number)
    {
        RegisterGrid &grid = master->grid();
        for (int r = 1; r < grid.rows(); ++r)
            if (grid.textMatrix(r, 1) == number)
                grid.setRow(r);
    }

    // Runs a command while a timer notes the pointer over each modal window that comes
    // up and then answers it: Yes (or OK) to a message, a reason for the deletion
    // dialog, the close box for any other window.
    void run(const std::function<void()> &command)
    {
        QTimer answering;
        QObject::connect(&answering, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == master.get())
                return;
            const QCursor *pointer = QApplication::overrideCursor();
            const QString name = modal->objectName().isEmpty() ? QString(modal->metaObject()->className())
                                                               : modal->objectName();
            waits << name + (pointer && pointer->shape() == Qt::WaitCursor ? ": hourglass" : ": arrow");
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                QAbstractButton *yes = box->button(QMessageBox::Yes);
                (yes ? yes : box->button(QMessageBox::Ok))->click();
            } else if (modal->objectName() == QLatin1String("frmCancel")) {
                modal->findChild<QLineEdit *>("txtcanreason")->setText("damaged");
                modal->findChild<QPushButton *>("cmdOK")->click();
            } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->done(QDialog::Rejected);
            }
        });
        answering.start(5);
        command();
        answering.stop();
    }
};

TEST_P(BusyPointerOnScreen, NoHourglassWhileTheEditorTheQuestionOrTheDeletionDialogWait)
{
    db.con->execute("update LOsPurchaseReturnHeader set whposted = 1 where whshopid = 1 and whid = 3");
    standOn("PR1");
    run([&] { master->CmdEdit_Click(); });
    standOn("PR3"); // posted: two messages before the editor shows
    run([&] { master->CmdEdit_Click(); });
    run([&] { master->cmdnew_Click(); });
    standOn("PR5");
    run([&] { master->CmdDelete_Click(); });
    EXPECT_EQ(waits, QStringList({"frmStockDetails: arrow", "QMessageBox: arrow", "QMessageBox: arrow",
                                  "frmStockDetails: arrow", "frmStockDetails: arrow", "QMessageBox: arrow",
                                  "frmCancel: arrow"}));
    EXPECT_EQ(db.con->scalar("select whcancelled from LOsPurchaseReturnHeader where whshopid = 1 and whid = 5").toInt(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is off once the commands are done";
}

SHOP_ON_ALL_BACKENDS(BusyPointerOnScreen);

} // namespace
} // namespace shop::test
