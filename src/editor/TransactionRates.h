#pragma once

namespace shop {

// Builds the exchange-rate list of the transaction the editor opens (gstrExchangeRates),
// in this order: the company's cash group, the company, the inventory account, the
// stock-transfer control account, the shop's write-off account and the shop's
// department. The accounts the save posts to are kept on the way (gintInventoryID,
// gintStockTransferAccID, gintShopDepartmentID). A missing package setting, account or
// department adds nothing to the list and leaves its kept value as it was.
void buildTransactionRates();

} // namespace shop
