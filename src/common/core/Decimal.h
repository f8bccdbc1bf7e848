#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <optional>

namespace shop {

// A quantity with three decimals, held as an exact count of thousandths so that
// 0.1 + 0.2 equals 0.3 when location or batch quantities are summed against a line.
class Decimal {
public:
    constexpr Decimal() = default;
    static constexpr Decimal fromThousandths(qint64 units) { Decimal d; d.m_units = units; return d; }
    static Decimal fromInt(qint64 whole) { return fromThousandths(whole * 1000); }
    // Exact decimal text ("12", "-0.125", " 3.5 "); more than three decimals round
    // half away from zero. Empty for text that is not a plain decimal number.
    static std::optional<Decimal> parse(const QString &text);
    // A database value: text, integer or floating point (read through its shortest text).
    static Decimal fromVariant(const QVariant &value);

    qint64 thousandths() const { return m_units; }
    double toDouble() const { return static_cast<double>(m_units) / 1000.0; }
    QString toString(int decimals = 3) const; // decimals 0..3, rounding half away from zero
    bool isZero() const { return m_units == 0; }

    Decimal operator+(Decimal o) const { return fromThousandths(m_units + o.m_units); }
    Decimal operator-(Decimal o) const { return fromThousandths(m_units - o.m_units); }
    Decimal &operator+=(Decimal o) { m_units += o.m_units; return *this; }
    auto operator<=>(const Decimal &) const = default;

private:
    qint64 m_units = 0;
};

// Rounds the decimal text of a number to a number of decimals, half away from zero,
// and writes exactly that many decimals ("1.23456", 3 gives "1.235"; "2", 3 gives
// "2.000"). Empty when the text is not a number.
QString roundDecimalText(const QString &text, int decimals);

} // namespace shop
