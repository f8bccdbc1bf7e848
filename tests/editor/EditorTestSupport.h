#pragma once

#include "common/host/ModuleState.h"
#include "editor/PurchaseReturnEntry.h"
#include "support/ModuleStateScope.h"
#include "support/RowText.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <functional>

namespace shop::test {

// A demo database with the module-wide state of a user logged into shop 1, as the
// register leaves it before the editor saves.
class EditorTest : public DemoTest {
protected:
    EditorTest();

    // Logs into another shop of the demo (1 by location, 2 without, 3 no prefix).
    void loginShop(qint32 shopId);

    Connection &con() { return *db.con; }
    ModuleState &state() { return moduleState(); }

    // Every purchase-return, issue-ledger and stock row, as sorted text.
    QStringList dump();
    QStringList rows(const QString &statement, const QVariantList &values = {}) { return rowsOf(con(), statement, values); }
    int count(const QString &statement, const QVariantList &values = {}) { return con().scalar(statement, values).toInt(); }
    // Runs `action` again and again, failing its first, second, ... statement that writes,
    // until a run gets through; each failed run must leave the database as it was.
    void failEachWriteInTurn(const std::function<void()> &action, int moreWritesThan);

    ModuleStateScope session{db.con};
};

// An item line of the editor's list.
QStringList itemLine(int slNo, int itemId, const QString &returnQty, const QString &availableQty = "80.000");
// A new return of the logged-in shop with the given lines.
PurchaseReturnEntry newEntry(const QList<QStringList> &lines);

} // namespace shop::test
