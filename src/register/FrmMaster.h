#pragma once

#include "common/core/EntryMode.h"
#include "common/core/TransactionId.h"
#include "editor/EntryRequest.h"
#include "register/BrowseGrid.h"
#include "ui_FrmMaster.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

namespace shop {

class clsCommonDB;
class clsCommonGen;

// The register of the shop's purchase returns over a recent date window: New, Edit,
// Delete (cancel), Print and Close, with sorting and incremental search. What the
// user may do follows the rights of the user and the row the user stands on.
class FrmMaster : public QDialog, private Ui_FrmMaster {
    Q_OBJECT
public:
    explicit FrmMaster(QWidget *parent = nullptr);
    ~FrmMaster() override;

    // Completes the module-wide state, fills the grid and applies the rights.
    void Form_Load();
    void Form_Activate();

    void GridPopulate(const QString &statement);
    void UserRights();
    // Whether the user's rights text holds the letter ("ADMIN" holds none).
    bool fnUserRights(const QString &letter) const;
    QDate fnPopulateDate();
    void MarkCancelledRows();
    // Shows a return once it is saved or cancelled: a stored one in its own row, a
    // new one as the last row (or in the empty first row of an empty register). A
    // failure is reported, not raised.
    void refreshRow(TransactionId id, EntryMode mode);
    // Offers back the return the user was entering in this shop when the module last
    // ended without saving or closing it (once, when the register first shows).
    void offerDraft();

    RegisterGrid &grid() { return *flexMaster; }
    const QString &rightsText() const { return m_rights; }

public slots:
    void cmdnew_Click();
    void CmdEdit_Click();
    void CmdDelete_Click();
    void cmdPreview_Click();
    void CmdClose_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildWindow();
    void refreshCurrentRow();
    // Whether a posted row's Delete is switched off here or left to the command's own check.
    enum class PostedRow { BlocksDelete, CheckedByDelete };
    // The one rule for Edit, Delete and Print: a row with an entry, the user's rights,
    // not for a cancelled row (nor a posted one, where asked).
    void enableCommands(PostedRow posted);
    // Whether the window's factory is there; a missing one is reported to the user.
    bool childAvailable(bool present, const QString &unavailable);
    void openEditor(EntryMode mode, const QString &unavailable);
    void showEditor(EntryRequest request, const QString &unavailable);
    void enableByRightsOrEmpty();
    void selectCurrentRow();
    void cboColNames_Click();
    void txtsearch_KeyUp();
    bool currentRowIs(int column) const;
    // Whether a command of the letter is open to the user.
    bool mayUse(const QString &letter) const;
    void showChild(std::unique_ptr<QDialog> window);

    std::shared_ptr<clsCommonGen> m_gen;
    std::shared_ptr<clsCommonDB> m_db;
    QDate m_fromDate;
    QString m_rights;
    bool m_hasRightsRow = false;
    bool m_draftOffered = false;
    std::unique_ptr<BrowseGrid> m_browse;
};

} // namespace shop
