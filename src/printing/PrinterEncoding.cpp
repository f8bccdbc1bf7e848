#include "printing/PrinterEncoding.h"

#include <rtnmod08/ModuleError.h>

#include <QHash>
#include <iconv.h>
#include <optional>

namespace shop {

namespace {

constexpr long long DeviceUnavailable = 68;

[[noreturn]] void unusable(const QString &codePage)
{
    throw ModuleError(DeviceUnavailable, QStringLiteral("rtnmod08"),
                      QStringLiteral("The printer's code page \"%1\" (printencoding) is not a single-byte code page "
                                     "this system knows.")
                          .arg(codePage));
}

class Converter {
public:
    explicit Converter(const QString &codePage)
        : m_cd(iconv_open(codePage.toLatin1().constData(), "UTF-16LE"))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            unusable(codePage);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // The character's one byte in the code page, or none.
    std::optional<char> byteOf(char16_t c)
    {
        char in[2] = {static_cast<char>(c & 0xff), static_cast<char>(c >> 8)};
        char out[8];
        char *inPtr = in;
        char *outPtr = out;
        size_t inLeft = sizeof in;
        size_t outLeft = sizeof out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || outPtr - out != 1)
            return std::nullopt;
        return out[0];
    }

private:
    iconv_t m_cd;
};

} // namespace

QByteArray printerBytes(const QByteArray &utf8Document, const QString &codePage)
{
    Converter converter(codePage);
    if (converter.byteOf(u'A') != 'A')
        unusable(codePage);
    const QString text = QString::fromUtf8(utf8Document);
    QByteArray bytes;
    bytes.reserve(text.size());
    QHash<char16_t, char> known;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        // Each half of a character beyond the basic plane took a column of its own.
        if (ch.isSurrogate()) {
            bytes += '?';
            continue;
        }
        auto it = known.find(c);
        if (it == known.end())
            it = known.insert(c, converter.byteOf(c).value_or('?'));
        bytes += *it;
    }
    return bytes;
}

} // namespace shop
