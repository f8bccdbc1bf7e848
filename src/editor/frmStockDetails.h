#pragma once

#include "common/TextTable.h"
#include "editor/PurchaseReturnEntry.h"

#include <QDialog>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace shop {

class clsCommonDB;
class clsCommonGen;

// What the editor knows of the register that opened it: the id in the register's
// current row (a stored entry being changed) and how to refresh that row once the
// entry is saved.
struct RegisterRowLink {
    QString currentRowId;
    std::function<void(const QString &condition, qint32 transId)> refreshRow;
};

// The window in which one purchase return is entered or changed: the header, the
// item lines (one per item) and, out of sight, the three allocation tables that say
// from which locations, expiry batches and serial numbers each line's quantity goes.
// Lines are entered in the item window, opened from the list's popup menu or F10.
class frmStockDetails : public QDialog {
    Q_OBJECT
public:
    // The controls, by the names the item window, the register and the form-colour
    // and audit components know them by.
    struct Controls {
        QLabel *lblPurchRetno = nullptr;
        QLabel *lblPurchRetdate = nullptr;
        QLabel *Label2 = nullptr;
        QLabel *Label7 = nullptr;
        QLabel *lblreceieved = nullptr;
        QLabel *lblApprovedby = nullptr;
        QLabel *lbldepartment = nullptr;
        QLabel *lblApartmentNO = nullptr;
        QLineEdit *txtWriteNo = nullptr;
        QLineEdit *txtProcessDate = nullptr;
        QLineEdit *txtUserName = nullptr;
        QLineEdit *txtRemark = nullptr;
        QLineEdit *txtreceived = nullptr;
        QLineEdit *txtapproved = nullptr;
        QComboBox *cbodepartment = nullptr;
        QComboBox *cboApartmentNo = nullptr;
        QCheckBox *Chkconfirmed = nullptr;
        QTreeWidget *lvwStock = nullptr;
        QPushButton *cmdOK = nullptr;
        QPushButton *cmdCancel = nullptr;
        QMenu *mnuPopup = nullptr;
        QAction *mnuAdd = nullptr;
        QAction *mnuEdit = nullptr;
        QAction *mnuDelete = nullptr;
        QAction *mnuCancel = nullptr;
    };

    explicit frmStockDetails(RegisterRowLink link = {}, QWidget *parent = nullptr);
    ~frmStockDetails() override;

    // Reads what the header needs for the shop, the user and the transaction type,
    // defaults a new entry and builds the transaction's exchange-rate list.
    void Form_Load();

    const Controls &controls() const { return ui; }
    TextTable &flxLocations() { return m_flxLocations; }
    TextTable &flxexpiry() { return m_flxexpiry; }
    TextTable &flxserial() { return m_flxserial; }

    // The window's contents as the save takes them.
    PurchaseReturnEntry entry() const;
    // Whether closing should ask to save: a changed field or line.
    bool hasChanges();

    // "N" while the item window adds a line, "E" while it changes one.
    QString strLineMode;
    // The transaction's id: the register's row for a stored entry, given on save for a new one.
    qint32 lngTransID = 0;
    // The document number a new transaction got on save.
    QString strTransNo;
    // Set by the item window when a line it confirmed changed anything, allocations included.
    bool blnChanged = false;

    // Closing by any means (Close, the close box, Escape) asks to save changes first.
    void reject() override;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void mnuAdd_Click();
    void mnuEdit_Click();
    void mnuDelete_Click();
    void lvwStock_ItemClick(QTreeWidgetItem *line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow();
    void arrangeTabOrder();
    void applyTransactionType(const QString &apartmentCode);
    void lvwStock_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void lvwStock_DblClick();
    void F10_KeyDown();
    // Opens the item window; `prepare` fills it before it shows.
    void openItemWindow(const std::function<void(QDialog &)> &prepare);
    void Form_Activate();

    RegisterRowLink m_link;
    Controls ui;
    TextTable m_flxLocations{7};
    TextTable m_flxexpiry{7};
    TextTable m_flxserial{7};
    std::shared_ptr<clsCommonDB> m_db;
    std::shared_ptr<clsCommonGen> m_gen;
    bool m_firstActivation = true;
};

} // namespace shop
