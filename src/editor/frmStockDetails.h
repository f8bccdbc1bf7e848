#pragma once

#include "common/core/TextTable.h"
#include "common/core/TransactionId.h"
#include "editor/EntryLines.h"
#include "editor/EntryRequest.h"
#include "editor/ModuleWrite.h"
#include "editor/PurchaseReturnEntry.h"
#include "ui_frmStockDetails.h"

#include <QDate>

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTreeWidgetItem;

namespace shop {

class clsCommonDB;
class clsCommonGen;

// The window in which one purchase return is entered or changed: the header, the
// item lines (one per item) and, out of sight, the three allocation tables that say
// from which locations, expiry batches and serial numbers each line's quantity goes.
// Lines are entered in the item window, opened from the list's popup menu or F10.
class frmStockDetails : public QDialog {
    Q_OBJECT
public:
    // The controls, by the names the form-colour and audit components know them by: the
    // window's form and its list's popup menu.
    struct Controls : Ui_frmStockDetails {
        QMenu *mnuPopup = nullptr;
        QAction *mnuAdd = nullptr;
        QAction *mnuEdit = nullptr;
        QAction *mnuDelete = nullptr;
        QAction *mnuCancel = nullptr;
    };

    explicit frmStockDetails(EntryRequest request = {}, QWidget *parent = nullptr);
    ~frmStockDetails() override;

    // Reads what the header needs for the shop, the user and the transaction type,
    // defaults a new entry and builds the transaction's exchange-rate list.
    void Form_Load();
    // Form_Load failed and has told the user.
    bool loadFailed() const { return m_loadFailed; }

    // Fills the window with the requested stored entry: header, one line per item and the
    // lines' allocations. Saving is then refused for a cancelled, posted or confirmed
    // entry, and for one dated before the process date unless the user may change
    // back-dated entries; the user is told why where it is not plain to see. What the
    // window then holds counts as unchanged. Errors of the header and the lines are
    // raised; an allocation table that cannot be read is reported and left as far as
    // it got.
    void loadEntry();
    // Lays the request's draft, if any, over what Form_Load and loadEntry put in; it
    // counts as changed, so closing asks to save it.
    void restoreDraft();

    const Controls &controls() const { return ui; }
    // The item lines and their allocations: what the item window works on.
    EntryLines &lines() { return m_lines; }
    TextTable &flxLocations() { return m_lines.allocations(AllocationKind::Location); }
    TextTable &flxexpiry() { return m_lines.allocations(AllocationKind::Expiry); }
    TextTable &flxserial() { return m_lines.allocations(AllocationKind::Serial); }

    // The window's contents as the save takes them.
    PurchaseReturnEntry entry() const;
    // Whether closing should ask to save: a changed field or line.
    bool hasChanges();

    // The transaction's id: the stored entry's once loaded, given on save for a new one.
    TransactionId transId() const { return m_transId; }
    // The document number a new transaction got on save.
    QString strTransNo;

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
    void applyTransactionType(const QString &apartmentCode);
    void lvwStock_MouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void lvwStock_DblClick();
    void F10_KeyDown();
    void openItemWindow();
    void Form_Activate();
    // Shows the lines as they stand and keeps the list's current line the lines' current one.
    void redrawLines();
    void listCurrentChanged();
    void enableLineCommands();
    // Keeps what the clerk has confirmed so far as the draft, once the current event is done.
    void writeDraft();
    bool isHeaderField(const QObject *watched) const;
    EntryDraft currentDraft() const;

    EntryRequest m_request;
    Controls ui;
    EntryLines m_lines;
    TransactionId m_transId;
    // Every Ok of this window saves under it: a save stored before its reply was lost is found, not stored again.
    const QString m_commitToken = newWriteToken();
    bool m_redrawing = false;
    bool m_loadFailed = false;
    std::shared_ptr<clsCommonDB> m_db;
    std::shared_ptr<clsCommonGen> m_gen;
    bool m_firstActivation = true;
    // Changes confirmed within one event (a line and its allocations) make one draft write.
    QTimer m_draftTimer;
    QByteArray m_lastDraft;
    // The entry as it stood once loaded: only a departure from it is worth a draft.
    QByteArray m_unchanged;
    QString m_storedVersion;
};

} // namespace shop
