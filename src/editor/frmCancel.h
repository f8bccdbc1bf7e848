#pragma once

#include "common/core/TransactionId.h"
#include "editor/ModuleWrite.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace shop {

// Asks for the reason a purchase return is deleted and cancels it: the header is
// flagged with the user's name and the reason, its issue rows stop counting in the
// balances and the stock comes back.
class frmCancel : public QDialog {
    Q_OBJECT
public:
    frmCancel(TransactionId transId, QString transNo, QWidget *parent = nullptr);

    void Form_Load();
    bool deleted() const { return m_deleted; }

public slots:
    void cmdOK_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // True when the window may close: the deletion ran (or failed and was reported),
    // false while the reason is still missing.
    bool runOkBeforeClosing();

    TransactionId m_transId;
    QString m_transNo;
    // The same for each Ok: a cancellation stored before its reply was lost is not done again.
    const QString m_commitToken = newWriteToken();
    bool m_deleted = false;
    bool m_failed = false;
    QLabel *Label1 = nullptr;
    QLineEdit *txtcanreason = nullptr;
    QPushButton *cmdOK = nullptr;
};

} // namespace shop
