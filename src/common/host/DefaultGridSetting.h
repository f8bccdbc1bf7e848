#pragma once

#include <rtnmod08/HostComponents.h>

namespace shop {

// The library's own MasterGridSetting.clsMasterGridSetting: column widths per user,
// company and grid (by its objectName) in shop_grid_settings. Widths the user drags
// are stored as the drag ends and come back the next time the grid is set up;
// widths the program sets are not taken for the user's.
class DefaultGridSetting final : public clsMasterGridSetting {
public:
    void fnGridSettings(qint32 userId, qint32 companyId, QTableWidget *grid, ConnectionPtr &connection) override;
};

} // namespace shop
