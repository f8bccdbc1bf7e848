#pragma once

#include <rtnmod08/ComponentRegistry.h>
#include <rtnmod08/Connection.h>
#include <rtnmod08/Export.h>
#include <rtnmod08/Recordset.h>

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLineEdit;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace shop {

/**
 * @file
 * @brief The host components the module creates by name.
 *
 * Each is an interface with the members the module calls; the library ships a default
 * implementation of each, and a host may register its own under the same name (a
 * progid) with ComponentRegistry::registerFactory() before calling clsShopWriteoff::Show().
 *
 * Ownership: the module holds each component it creates through the std::shared_ptr
 * the factory returns, for as long as the window that asked for it is open. Widgets
 * handed to a component belong to the module's windows and are valid only for the call;
 * a component keeps no pointer to them. Every call comes on the user-interface thread.
 * A component reports a failure by raising a ModuleError, which the module reports
 * through the error tracker (ErrorDetails).
 */

/// CommonModule.clsCommonDB: single values and lists from `strTableName`, which may
/// be a table, a view, a join list or a table followed by a where clause.
class RTNMOD08_EXPORT clsCommonDB {
public:
    virtual ~clsCommonDB() = default;
    ConnectionPtr adocon;
    QString strTableName;

    /// Value of a column or expression in the first row; a null QVariant when no row.
    virtual QVariant fnReturnField(const QString &expression) = 0;
    virtual QVariant fnReturnField(const QString &expression, const QString &condition) = 0;
    /// Next free value of a numeric column of strTableName (highest + 1, 1 when empty).
    virtual qint32 fnGetNextMaxNo(const QString &column) = 0;
    /// Fills the combo from strTableName: text from textColumn, item data from idColumn.
    virtual void populateComboorList(QComboBox *combo, const QString &idColumn, const QString &textColumn,
                                     const QString &condition) = 0;
};

/// CommonModule.clsCommonGen: combo, key and list utilities.
class RTNMOD08_EXPORT clsCommonGen {
public:
    virtual ~clsCommonGen() = default;
    virtual void SelectComboItemByValue(QComboBox *combo, const QVariant &value) = 0;
    virtual void SelectComboItemByname(QComboBox *combo, const QString &text) = 0;
    /// Key filter for a numeric text box: sets keyAscii to 0 to refuse the key.
    virtual void TextValidateNum(QLineEdit *box, int &keyAscii, int maxLength, int decimals) = 0;
    /// Adds a line to the editor's item list: at the end (position 0), or at `position`
    /// (1-based), the lines from there moving down and all lines numbered afresh. The new
    /// line becomes the current one. The line's columns: SlNo, Shipment, Item Code, Item Description,
    /// Available Qty, Return Qty, ShipmentID, ItemID, Cost Price, Unit.
    virtual void fnInsertListView(QTreeWidget *list, int position, const QString &slNo, const QString &shipment,
                                  const QString &itemCode, const QString &description, const QString &availableQty,
                                  const QString &returnQty, const QString &shipmentId, const QString &itemId,
                                  const QString &costPrice, const QString &unit) = 0;
    /// Removes the selected line (or the 1-based line at *index) and renumbers the rest.
    virtual void fnDeleteListview(bool renumber, QTreeWidget *list, bool selectNext, int *index = nullptr,
                                  int reserved = 0) = 0;
};

/// ErrorHandler.ErrorDetails
class RTNMOD08_EXPORT ErrorDetails {
public:
    virtual ~ErrorDetails() = default;
    /// showToUser is false only when the failing routine has already shown its own message.
    virtual void ErrorTrack(QString &moduleName, QString &userName, QString &routine, long long &number,
                            QString &source, QString &description, QString &mode, bool &showToUser) = 0;
};

/// Formcolor.clsFormcolor
class RTNMOD08_EXPORT clsFormcolor {
public:
    virtual ~clsFormcolor() = default;
    virtual void Applyformcolor(QWidget *window) = 0;
};

/// PosUserAuditing.clsUserAuditing
class RTNMOD08_EXPORT clsUserAuditing {
public:
    virtual ~clsUserAuditing() = default;
    QDateTime LoggedTime;
    virtual void OpenObject(ConnectionPtr &connection, int companyId, int shopId, int userId, int interfaceId,
                            const QDateTime &now) = 0;
    virtual void SaveInToTag(QWidget *window) = 0;
    virtual bool DataChanged(QWidget *window) = 0;
    virtual void SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool flag, const QString &mode,
                                      QWidget *window) = 0;
    virtual void SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool flag, const QString &mode) = 0;
};

/// MasterGridSetting.clsMasterGridSetting
class RTNMOD08_EXPORT clsMasterGridSetting {
public:
    virtual ~clsMasterGridSetting() = default;
    /// The ids are whole 32-bit values, so that users and companies past 32767 keep
    /// their own settings.
    virtual void fnGridSettings(qint32 userId, qint32 companyId, QTableWidget *grid, ConnectionPtr &connection) = 0;
};

/// Fetch.clsFetch: the lookup dialog.
class RTNMOD08_EXPORT clsFetch {
public:
    virtual ~clsFetch() = default;
    ConnectionPtr adocon;
    QString strMsgboxTitle;
    qint32 lngUserID = 0;
    QString strQuery;
    virtual void setRecordSet(std::shared_ptr<Recordset> &recordset) = 0;
    virtual void setFieldNames(const QStringList &names) = 0;
    virtual void setFieldCaptions(const QStringList &captions) = 0;
    virtual void setFieldWidths(const std::vector<qint16> &widths) = 0;
    virtual void setDefaultFetchField(int index) = 0;
    virtual void setInterfaceCaption(const QString &caption) = 0;
    virtual void Show() = 0;
    virtual bool getCancelledStatus() const = 0;
};

/// Component names, as the module asks for them.
namespace progid {
inline const QString CommonDB = QStringLiteral("CommonModule.clsCommonDB");
inline const QString CommonGen = QStringLiteral("CommonModule.clsCommonGen");
inline const QString ErrorTracker = QStringLiteral("ErrorHandler.ErrorDetails");
inline const QString FormColor = QStringLiteral("Formcolor.clsFormcolor");
inline const QString UserAuditing = QStringLiteral("PosUserAuditing.clsUserAuditing");
inline const QString GridSetting = QStringLiteral("MasterGridSetting.clsMasterGridSetting");
inline const QString Fetch = QStringLiteral("Fetch.clsFetch");
} // namespace progid

} // namespace shop
