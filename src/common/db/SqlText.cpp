#include "common/db/SqlText.h"

namespace shop {

QString sqlQuote(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString sqlNumber(long long value) { return QString::number(value); }

QString sqlNumber(double value)
{
    // 'g' with 17 digits keeps every double exactly and never uses a locale's comma.
    return QString::number(value, 'g', 17);
}

} // namespace shop
