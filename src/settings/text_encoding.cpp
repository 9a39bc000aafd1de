#include "settings/text_encoding.h"

#include <array>
#include <utility>

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

struct Utf8Sequence
{
    int length = 0; // 0: the lead byte starts no well-formed sequence
    char32_t codePoint = 0;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Utf8Sequence ReadUtf8(const unsigned char* p, qsizetype available)
{
    const unsigned char lead = p[0];
    if (lead < 0x80)
        return {1, lead};
    int length = 0;
    char32_t codePoint = 0;
    // Range of the second byte; narrowed for the leads where it rules out bad forms.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {};
    }
    if (available < length || p[1] < low || p[1] > high)
        return {};
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return {};
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    return {length, codePoint};
}

} // namespace

DecodedText DecodeText(const QByteArray& bytes)
{
    // No byte yields more than one UTF-16 unit, so the text never outgrows the bytes.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* const start = text.data();
    QChar* out = start;
    const auto* const data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype multiByte = 0;
    qsizetype invalid = 0;
    for (qsizetype i = 0; i < size;) {
        const Utf8Sequence sequence = ReadUtf8(data + i, size - i);
        if (sequence.length == 0) {
            ++invalid;
            *out++ = QChar(Cp1252ToUnicode(data[i]));
            ++i;
            continue;
        }
        if (sequence.length > 1)
            ++multiByte;
        if (sequence.codePoint > 0xFFFF) {
            *out++ = QChar(QChar::highSurrogate(sequence.codePoint));
            *out++ = QChar(QChar::lowSurrogate(sequence.codePoint));
        } else {
            *out++ = QChar(char16_t(sequence.codePoint));
        }
        i += sequence.length;
    }
    if (invalid == 0 || multiByte > invalid) {
        text.truncate(out - start);
        return {text, TextEncoding::Utf8};
    }
    for (qsizetype i = 0; i < size; ++i)
        start[i] = QChar(Cp1252ToUnicode(data[i]));
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

EncodedText EncodeForSaving(const QString& text, TextEncoding readEncoding)
{
    // Windows-1252 bytes can look like UTF-8 to the next load, which would show other text.
    if (readEncoding == TextEncoding::Windows1252) {
        std::optional<QByteArray> bytes = EncodeText(text, readEncoding);
        if (bytes && DecodeText(*bytes).text == text)
            return {std::move(*bytes), TextEncoding::Windows1252};
    }
    return {text.toUtf8(), TextEncoding::Utf8};
}
