#pragma once

#include "common/core/Session.h"
#include <rtnmod08/Connection.h>
#include <rtnmod08/HostComponents.h>
#include "register/RegisterList.h"

#include <QString>
#include <vector>

class QComboBox;

namespace shop {

class RegisterGrid;

// The register's read-only list: opened over a statement, captioned from the column
// catalogue, widths following the longest text of the rows first shown, ordered by a
// chosen column and searched by the beginning of a value, both by the database.
// Cancelled entries are red.
class BrowseGrid {
public:
    BrowseGrid(RegisterGrid &grid, QComboBox &sortColumns, QComboBox &searchColumns);

    // Opens the list over the statement; the captions come from the catalogue for the
    // session's transaction type "P".
    void GridPopulate(const ConnectionPtr &con, const Session &session, const QString &statement);
    void SetGridHeaders(const ConnectionPtr &con, const Session &session, const QString &tableName,
                        std::vector<int> &longest);
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
    // Orders the list anew (unless it is so ordered already) and makes the column current.
    void reorder(const reg::ListOrder &order, int column);
    // The clerk stays on the same row of the grid, whichever return now stands in it.
    void stayOn(int row, int column);

    RegisterGrid &m_grid;
    QComboBox &m_sortColumns;
    QComboBox &m_searchColumns;
};

} // namespace shop
