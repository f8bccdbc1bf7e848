#pragma once

#include <rtnmod08/HostComponents.h>

#include <QPointer>
#include <vector>

namespace shop {

// One input control's value as the user sees it, recorded for change detection.
struct FieldValue {
    QString key;   // objectName (numbered when a name repeats), unique in its window
    QString value; // the control's contents in one text
    QString shown; // the same, short, for the audit's description of changes
};
using FieldValues = std::vector<FieldValue>;

// The current values of every input control under a window: line edits, combos
// (text and chosen entry), check and option buttons, lists and grids (every cell),
// multi-line text.
FieldValues readFieldValues(const QWidget *window);
// "name: old -> new" for each field that differs, joined by "; ".
QString describeChanges(const FieldValues &before, const FieldValues &after);

// The library's own PosUserAuditing.clsUserAuditing: change detection per window
// and one row of shop_user_audit per saved or deleted transaction.
class DefaultUserAuditing final : public clsUserAuditing {
public:
    void OpenObject(ConnectionPtr &connection, int companyId, int shopId, int userId, int interfaceId,
                    const QDateTime &now) override;
    void SaveInToTag(QWidget *window) override;
    bool DataChanged(QWidget *window) override;
    // Written on the connection inside the caller's transaction; a failure raises a
    // ModuleError so that the caller rolls the whole save back.
    void SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool flag, const QString &mode,
                              QWidget *window) override;
    void SaveUserAuditingInfo(qint32 &transId, QString &transNo, bool flag, const QString &mode) override;

private:
    struct Recorded {
        QPointer<QWidget> window;
        FieldValues values;
    };
    Recorded *recordOf(const QWidget *window);
    void writeRow(qint32 transId, const QString &transNo, const QString &mode, const QString &windowName,
                  const QString &changes);

    ConnectionPtr m_connection;
    int m_companyId = 0;
    int m_shopId = 0;
    int m_userId = 0;
    int m_interfaceId = 0;
    std::vector<Recorded> m_recorded;
};

} // namespace shop
