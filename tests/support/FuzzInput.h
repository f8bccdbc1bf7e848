#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace shop::test {

// Generated malformed input, the same on every run (a fixed seed): pieces that look
// like what the code expects, glued to noise, binary bytes, huge numbers and very long
// runs, so that a fault found once is found again.
class FuzzInput {
public:
    explicit FuzzInput(quint32 seed) : m_random(seed) {}

    int below(int bound) { return static_cast<int>(m_random.bounded(static_cast<quint32>(bound))); }
    bool chance(int percent) { return below(100) < percent; }
    const QString &pick(const QStringList &pieces) { return pieces.at(below(static_cast<int>(pieces.size()))); }

    // A piece of noise: control and binary characters, non-Latin letters, quotes,
    // signs, digits, or a long run of one character.
    QString noise()
    {
        static const QStringList pieces{QStringLiteral("\x01\x02"), QStringLiteral("\x7f"), QString(QChar(0xFFFD)),
                                        QStringLiteral("é"), QStringLiteral("ß"), QStringLiteral("中文"),
                                        QStringLiteral("'"), QStringLiteral("''"), QStringLiteral("\""),
                                        QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("."),
                                        QStringLiteral("e"), QStringLiteral("E+"), QStringLiteral(" "),
                                        QStringLiteral("\t"), QStringLiteral("\r"), QStringLiteral("0"),
                                        QStringLiteral("7"), QStringLiteral("99999999999999999999"),
                                        QStringLiteral("1e308"), QStringLiteral("-0.0005"), QStringLiteral(":="),
                                        QStringLiteral("("), QStringLiteral(")"), QStringLiteral(","),
                                        QStringLiteral(";"), QStringLiteral("--"), QStringLiteral("/*"),
                                        QStringLiteral("*/")};
        if (chance(3))
            return QString(1000 + below(20000), QLatin1Char("9x' ("[below(5)]));
        if (chance(5)) {
            QString bytes;
            for (int i = below(16); i >= 0; --i)
                bytes += QChar(static_cast<char16_t>(below(0x3000)));
            return bytes;
        }
        return pick(pieces);
    }

    // A text of `pieces` parts, each taken from `shaped` or from the noise.
    QString mixed(const QStringList &shaped, int pieces)
    {
        QString text;
        for (int i = 0; i < pieces; ++i)
            text += chance(60) ? pick(shaped) : noise();
        return text;
    }

private:
    QRandomGenerator m_random;
};

} // namespace shop::test
