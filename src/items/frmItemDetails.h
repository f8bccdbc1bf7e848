#pragma once

#include "common/core/Decimal.h"
#include "common/core/TransactionId.h"
#include "items/ItemIdentification.h"
#include "stock/StockBalances.h"
#include "ui_frmItemDetails.h"

#include <QDialog>
#include <memory>
#include <optional>

class QAction;
class QLineEdit;
class QMenu;

namespace shop {

struct AllocationContext;
class AllocationGrid;
class EntryLines;
class ItemLineData;
class ExpiryPolicy;
class LocationPolicy;
class SerialPolicy;
class clsCommonDB;

// The window in which one line of a return is entered or changed: which item (by
// code, shortcut, barcode or the lookup dialog), how much of it goes back, and from
// which locations, expiry batches and serial numbers. OK writes the line and its
// allocations into the editor's lines; nothing else of the editor is touched. In
// Edit mode it shows the editor's current line and steps on to the next one after OK.
class frmItemDetails : public QDialog {
    Q_OBJECT
public:
    struct Controls : Ui_frmItemDetails {
        QMenu *mnuPopup = nullptr;
        QAction *mnuDelete = nullptr;
    };

    // `editedEntry` is the stored return the editor holds (not stored for a new one).
    frmItemDetails(EntryLines &lines, TransactionId editedEntry, QWidget *parent = nullptr);
    ~frmItemDetails() override;

    void Form_Load();

    const Controls &controls() const { return ui; }
    AllocationGrid &locationGrid() const { return *m_locations; }
    AllocationGrid &expiryGrid() const { return *m_expiry; }
    AllocationGrid &serialGrid() const { return *m_serials; }
    TransactionId transactionId() const { return m_transId; }

    // Loads an identified item when it has stock in the shop.
    void DisplayBarcodeItemDetails(const IdentifiedItem &item);
    // The balance lists of the item; the location grid also gets the automatic split
    // of the quantity while a new line of a return never saved is entered.
    void FillLocations(qint32 itemId, Decimal quantity, TransactionId transId);
    void FillExpirydates(qint32 itemId, Decimal quantity, TransactionId transId);
    void FillSerial(qint32 itemId, Decimal quantity, TransactionId transId);
    void HideGridControls();
    // The editor of the location ("L") or expiry ("E") grid over its current cell.
    void VisibleFun(const QString &kind);

public slots:
    void cboItem_Click();
    void txtBarcode_KeyPress();
    void cmdbarcode_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdFirst_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void mnuDelete_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void wireGrids();
    void QuickItemFetch();
    // The only entry of the item combo, selected (which runs the item selection).
    void chooseItem(const QString &description, qint32 itemId);
    qint32 currentItemId() const;
    // The data work of the line, made for the session at load.
    ItemLineData &data();
    void fillShopLocations();
    // Shows the grids that apply, one below the other.
    void arrangeGrids(bool expiry, bool serial);
    void resetForNextItem();
    void showLine(int position, const QString &routine);
    // The line on screen decides which way one may step.
    void enableNavigation(std::optional<int> position);
    void loadAllocationsOfLine(qint32 itemId);
    // The list the scan read for the item, else the one `read` reads now.
    template <typename List, typename Read>
    List scanned(std::optional<List> ItemBalances::*list, const BalanceOwner &owner, Read &&read);
    // Fills the expiry grid with the batches that expire first, unless the clerk has
    // made its rows by hand.
    void proposeBatches(Decimal quantity);
    void txtWriteQty_Enter();
    void moveOnFromWriteOff();
    void txtWriteQty_Change();
    // The key filter of the write-off box: false drops the typed character.
    bool writeOffKey(const QString &text);
    // Whether the box takes the character where it stands, without a word to the user.
    bool writeOffChar(QLineEdit &box, QChar key) const;
    // OK's checks in their order; false after the first refusal has been shown.
    bool lineIsValid();
    // The write-off quantity exactly; none when it is too large to count, above any stock.
    std::optional<Decimal> writeOffQuantity() const;
    QStringList lineCells();
    void storeAllocations(const QString &itemId);

    EntryLines &m_lines;
    TransactionId m_editedEntry;
    TransactionId m_transId; // intTransactionId
    Controls ui;
    std::unique_ptr<AllocationContext> m_context;
    std::unique_ptr<LocationPolicy> m_locationPolicy;
    std::unique_ptr<ExpiryPolicy> m_expiryPolicy;
    std::unique_ptr<SerialPolicy> m_serialPolicy;
    AllocationGrid *m_locations = nullptr;
    AllocationGrid *m_expiry = nullptr;
    AllocationGrid *m_serials = nullptr;
    AllocationGrid *m_popupSource = nullptr;
    std::shared_ptr<clsCommonDB> m_db;
    std::unique_ptr<ItemLineData> m_data;
    // While a scanned or fetched item is loaded: the item with its facts and stock, and
    // the balance lists it shows, read together; the selection and fills take them.
    struct ScanRead {
        IdentifiedItem item;
        ItemBalances lists;
    };
    std::optional<ScanRead> m_scan;

    bool blnLocationWise = false;
    bool blnHasExpiry = false;
    bool blnHasSerialNo = false;
    int intSlNo = 1;
    QString strItemCode;
    // The location rows are the automatic split, untouched by hand.
    bool m_splitAutomatically = false;
    // The expiry rows are the proposal by expiry date, untouched by hand.
    bool m_batchesProposed = false;
    // The location combo's first hint goes once the item's locations are read.
    bool m_locationTipCleared = false;
    QList<BatchBalance> m_batches; // of the item on screen
};

} // namespace shop
