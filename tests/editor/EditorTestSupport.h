#pragma once

#include "common/ModuleState.h"
#include "editor/PurchaseReturnEntry.h"
#include "support/TestDatabase.h"

#include <QStringList>
#include <memory>

namespace shop::test {

// A demo database with the module-wide state of a user logged into a shop, as the
// register leaves it before the editor saves.
class EditorTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Logs into another shop of the demo (1 by location, 2 without, 3 no prefix).
    void loginShop(qint32 shopId);

    Connection &con() { return *db->con; }
    ModuleState &state() { return moduleState(); }

    // Every purchase-return, issue-ledger and stock row, as sorted text.
    QStringList dump();
    // Rows of a statement as text lines, in the statement's order.
    QStringList rows(const QString &statement, const QVariantList &values = {});
    int count(const QString &statement, const QVariantList &values = {});

    std::unique_ptr<TestDatabase> db;
};

// An item line of the editor's list.
QStringList itemLine(int slNo, int itemId, const QString &returnQty, const QString &availableQty = QStringLiteral("80.000"));
// A new return of the logged-in shop with the given lines.
PurchaseReturnEntry newEntry(const QList<QStringList> &lines);

} // namespace shop::test
