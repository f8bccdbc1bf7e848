#include "common/core/TransactionId.h"

#include "common/core/Conversions.h"

namespace shop {

TransactionId TransactionId::fromText(const QString &text) { return TransactionId(toInt32(QVariant(text))); }

} // namespace shop
