#include "common/host/DefaultGridSetting.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <map>

namespace shop {

namespace {

// Watches a grid's header: a resize between a mouse press and its release on the
// header is the user's, and is stored when the button comes up.
class GridWidthKeeper final : public QObject {
public:
    explicit GridWidthKeeper(QHeaderView *header) : QObject(header), m_header(header)
    {
        setObjectName(QStringLiteral("shopGridWidthKeeper"));
        header->viewport()->installEventFilter(this);
        connect(header, &QHeaderView::sectionResized, this, [this](int index, int, int newSize) {
            if (m_dragging)
                m_pending[index] = newSize;
        });
    }

    void bind(ConnectionPtr connection, qint32 userId, qint32 companyId, QString gridName)
    {
        m_connection = std::move(connection);
        m_userId = userId;
        m_companyId = companyId;
        m_gridName = std::move(gridName);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_header->viewport()) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                m_dragging = true;
                break;
            case QEvent::MouseButtonRelease:
                m_dragging = false;
                store();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void store()
    {
        const auto pending = std::exchange(m_pending, {});
        if (!m_connection || !m_connection->isOpen())
            return;
        try {
            for (const auto &[column, width] : pending) {
                const QVariantList key{m_userId, m_companyId, m_gridName, column};
                const int updated = m_connection->execute(
                    QStringLiteral("update shop_grid_settings set width = ? where userid = ? and companyid = ? "
                                   "and grid_name = ? and column_index = ?"),
                    QVariantList{width} + key);
                if (updated == 0)
                    m_connection->execute(QStringLiteral("insert into shop_grid_settings (userid, companyid, "
                                                         "grid_name, column_index, width) values (?, ?, ?, ?, ?)"),
                                          key + QVariantList{width});
            }
        } catch (...) {
            // A width that could not be kept is only a width; the grid goes on working.
        }
    }

    QHeaderView *m_header;
    ConnectionPtr m_connection;
    qint32 m_userId = 0;
    qint32 m_companyId = 0;
    QString m_gridName;
    bool m_dragging = false;
    std::map<int, int> m_pending;
};

GridWidthKeeper *keeperOf(QHeaderView *header)
{
    for (QObject *child : header->children()) {
        if (auto *keeper = dynamic_cast<GridWidthKeeper *>(child))
            return keeper;
    }
    return new GridWidthKeeper(header); // owned by the header
}

} // namespace

void DefaultGridSetting::fnGridSettings(qint32 userId, qint32 companyId, QTableWidget *grid,
                                        ConnectionPtr &connection)
{
    if (!grid || !connection || !connection->isOpen())
        return;
    try {
        const Recordset stored = connection->query(
            QStringLiteral("select column_index, width from shop_grid_settings where userid = ? and companyid = ? "
                           "and grid_name = ? order by column_index"),
            {userId, companyId, grid->objectName()});
        for (const QVariantList &row : stored.rows()) {
            const int column = row.at(0).toInt();
            const int width = row.at(1).toInt();
            if (column >= 0 && column < grid->columnCount() && width >= 0)
                grid->setColumnWidth(column, width);
        }
        keeperOf(grid->horizontalHeader())->bind(connection, userId, companyId, grid->objectName());
    } catch (...) {
        // The grid keeps the widths the window gave it.
    }
}

} // namespace shop
