#include "common/routines/ListViewColumns.h"

#include "common/core/Conversions.h"
#include "common/host/ModuleCommonDB.h"
#include <rtnmod08/ModuleError.h>
#include "common/ui/Twips.h"

#include <QTreeWidget>

namespace shop {

Qt::Alignment listColumnAlignment(int code)
{
    switch (code) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void SetListViewColumns(const QString &transactionName, QTreeWidget *list, const QString &moduleName)
{
    const QString listName = list ? list->objectName() : QString();
    const Recordset rs = moduleConnection().query(
        QStringLiteral("select * from alistviewdetails where lvwdid=(select lvwid from alistviewheader where  ")
            + QStringLiteral(" ltrim(rtrim(upper(lvwtransname)))=?") + QStringLiteral(" and ltrim(rtrim(upper(lvwname)))=?")
            + QStringLiteral(" and ltrim(rtrim(upper(lvwmodulename)))=?") + QStringLiteral(")"),
        {transactionName.trimmed().toUpper(), listName.trimmed().toUpper(), moduleName.trimmed().toUpper()});
    if (!list)
        return;
    for (int r = 0; r < rs.recordCount(); ++r) {
        const int column = toInt32(rs.value(r, QStringLiteral("lvwcolid"))) - 1;
        if (column < 0 || column >= list->columnCount())
            throw ModuleError(35600, QStringLiteral("rtnmod08"), QStringLiteral("Index out of bounds"));
        const int width = toInt32(rs.value(r, QStringLiteral("lvwdcolwidth")));
        list->setColumnHidden(column, width <= 0);
        if (width > 0)
            list->setColumnWidth(column, twipsToPixels(width));
        const Qt::Alignment alignment = listColumnAlignment(toInt32(rs.value(r, QStringLiteral("lvwdcolalign"))));
        // Lines added later take the header's alignment (see fnInsertListView).
        list->headerItem()->setTextAlignment(column, alignment);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            list->topLevelItem(i)->setTextAlignment(column, alignment);
    }
}

} // namespace shop
