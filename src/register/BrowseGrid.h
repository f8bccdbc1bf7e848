#pragma once

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/HostComponents.h>

#include <QString>
#include <vector>

class QComboBox;

namespace shop {

class FlexGrid;

// The register's read-only list: filled from a statement, captioned from the column
// catalogue, widths following the longest text, sortable by a chosen column and
// searchable by the beginning of a value. Cancelled entries are painted red.
class BrowseGrid {
public:
    BrowseGrid(FlexGrid &grid, QComboBox &sortColumns, QComboBox &searchColumns);

    // Fills the grid; with the purchase-return type the captions come from the catalogue.
    // Fills the grid from the statement; the captions come from the catalogue for the
    // session's transaction type "P".
    void GridPopulate(const ConnectionPtr &con, const Session &session, const QString &statement);
    void SetGridHeaders(const ConnectionPtr &con, const Session &session, const QString &tableName,
                        std::vector<int> &longest);
    // Red text on the id, number, date, user and cancelled columns of cancelled entries.
    void paintCancelledRows();
    // Sorts on the column chosen in the sort list, ascending or descending.
    void sortByChosenColumn(bool ascending);
    // Finds the first row whose search column starts with the typed text; true when found.
    bool FindInGrid(const QString &typed);
    // A selected cancelled row keeps its red; several selected rows show in cyan.
    void applySelectionColours();

    bool isCancelled(int row) const;
    static constexpr int IdColumn = 0;
    static constexpr int NumberColumn = 1;
    static constexpr int DateColumn = 2;
    static constexpr int CancelledColumn = 4;
    static constexpr int PostedColumn = 5;
    static constexpr int ConfirmedColumn = 6;

private:
    FlexGrid &m_grid;
    QComboBox &m_sortColumns;
    QComboBox &m_searchColumns;
};

} // namespace shop
