#include "app/text_encoding.h"

#include <QStringDecoder>

#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; 0 marks the five unused codes,
// which are kept as the C1 control of the same value so no byte is lost.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t Cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && Cp1252High[byte - 0x80] != 0)
        return Cp1252High[byte - 0x80];
    return byte;
}

std::optional<char> UnicodeToCp1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < Cp1252High.size(); ++i) {
        const char16_t mapped = Cp1252High[i] != 0 ? Cp1252High[i] : char16_t(0x80 + i);
        if (mapped == c)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

DecodedText DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {text, TextEncoding::Utf8};
    text.clear();
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(QChar(Cp1252ToUnicode(static_cast<unsigned char>(byte))));
    return {text, TextEncoding::Windows1252};
}

std::optional<QByteArray> EncodeText(const QString& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const std::optional<char> byte = UnicodeToCp1252(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes.append(*byte);
    }
    return bytes;
}

QByteArray EncodeKeepingEncoding(const QString& text, TextEncoding readEncoding)
{
    if (std::optional<QByteArray> bytes = EncodeText(text, readEncoding))
        return *bytes;
    return text.toUtf8();
}
