#pragma once

#include <QStringList>

namespace shop {

// The two stored procedures of the suite that the module calls. They keep the shop
// stock (mosShopStock) in step with the purchase returns of a transaction:
//   spUpdateshopWriteoff(trans, shop, 'R', type)       gives the stored return quantities back
//   spUpdateshopWriteoff(trans, shop, 'F', type)       takes them out of stock
//   spUpdateshopPurchaseReturn(trans, shop, 'P', type) gives a cancelled return's quantities back
// Both run inside the caller's transaction.

class Connection;

// For SQLite: makes the procedures callable on one connection.
void installEmbeddedProcedures(Connection &con);

// For PostgreSQL: the function definitions a fresh database gets.
QStringList serverProcedureDefinitions();

} // namespace shop
