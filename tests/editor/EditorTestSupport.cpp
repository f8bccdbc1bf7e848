#include "EditorTestSupport.h"

#include "common/Conversions.h"

namespace shop::test {

void EditorTest::SetUp()
{
    db = std::make_unique<TestDatabase>(GetParam(), TestDatabase::Content::Demo);
    moduleState() = ModuleState{};
    ModuleState &s = moduleState();
    s.gadocon = db->con;
    s.gintUserID = 1;
    s.gintCompanyID = 1;
    s.gdtProcessDate = QDate(2026, 12, 6);
    s.gstrMessageTitle = QStringLiteral("Shop Purchase Return");
    s.gstrTransType = QStringLiteral("P");
    s.gintInterfaceID = 1901;
    s.gintInventoryID = 100;
    s.gintStockTransferAccID = 101;
    s.gstrExchangeRates = QStringLiteral("1:4:-1:3.75:");
    loginShop(1);
}

void EditorTest::TearDown()
{
    moduleState() = ModuleState{};
    db.reset();
}

void EditorTest::loginShop(qint32 shopId)
{
    moduleState().gintShopID = shopId;
    moduleState().gintShopDepartmentID = 9 + shopId; // departments 10, 11, 12 of the demo
}

namespace {

// A value as the tests compare it: numbers without trailing zeros, so that both
// backends read the same ("2.500" and 2.5 give 2.5), dates in the display form.
QString text(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("<null>");
    const QString cell = cellText(v);
    if (!Decimal::parse(cell))
        return cell;
    QString n = Decimal::fromVariant(v).toString();
    while (n.endsWith(QLatin1Char('0')))
        n.chop(1);
    if (n.endsWith(QLatin1Char('.')))
        n.chop(1);
    return n;
}

} // namespace

QStringList EditorTest::rows(const QString &statement, const QVariantList &values)
{
    QStringList lines;
    const Recordset rs = con().query(statement, values);
    for (const QVariantList &row : rs.rows()) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << text(v);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

int EditorTest::count(const QString &statement, const QVariantList &values)
{
    return con().scalar(statement, values).toInt();
}

QStringList EditorTest::dump()
{
    QStringList all;
    for (const char *table : {"LOsPurchaseReturnHeader", "LOsPurchaseReturnDetail", "losLocationIssueDetails",
                              "losExpiryIssueDetails", "losSerialIssueDetails", "mosShopStock"}) {
        QStringList tableRows = rows(QStringLiteral("select * from ") + QLatin1String(table));
        tableRows.sort();
        for (const QString &r : tableRows)
            all << QLatin1String(table) + QLatin1Char(':') + r;
    }
    return all;
}

QStringList itemLine(int slNo, int itemId, const QString &returnQty, const QString &availableQty)
{
    return {QString::number(slNo), QStringLiteral("1"), QStringLiteral("ITEM%1").arg(itemId),
            QStringLiteral("Item %1").arg(itemId), availableQty, returnQty, QStringLiteral("1"),
            QString::number(itemId), QStringLiteral("2.5"), QStringLiteral("PCS")};
}

PurchaseReturnEntry newEntry(const QList<QStringList> &lines)
{
    PurchaseReturnEntry e;
    e.mode = QStringLiteral("N");
    e.dateText = QStringLiteral("06/12/2026");
    e.userName = QStringLiteral(" clerk ");
    e.remarks = QStringLiteral(" Damaged in transit ");
    e.lines = lines;
    return e;
}

} // namespace shop::test
