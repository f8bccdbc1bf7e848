#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>

namespace shop {

// The id of a stored purchase return (whid): 32-bit, so that a shop past its 32767th
// return goes on working. The register's grid holds it as text; it is parsed once,
// where it comes out of the grid, and travels typed from there to the editor, the
// save, the cancellation and the row refresh. Zero stands for "not stored yet".
class TransactionId {
public:
    constexpr TransactionId() = default;
    constexpr explicit TransactionId(qint32 value) : m_value(value) {}

    // The grid's text of an id; raises the whole-number conversion's errors (13 for
    // text that is not a number, 6 for one outside 32 bits).
    static TransactionId fromText(const QString &text);

    constexpr qint32 value() const { return m_value; }
    constexpr bool isStored() const { return m_value != 0; }
    QString text() const { return QString::number(m_value); }

    friend constexpr auto operator<=>(TransactionId, TransactionId) = default;

private:
    qint32 m_value = 0;
};

} // namespace shop
