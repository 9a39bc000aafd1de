// The input is a note file's bytes, and also the source of note texts (read
// as UTF-8 and as UTF-16). Loading must follow the documented choice of
// encoding; saving must give bytes that load as the same text, and bytes
// already in saved form must come back byte for byte.

#include "fuzz_report.h"
#include "settings/text_encoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

QString Hex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ')); }

QString EncodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

// Each byte as Windows-1252 reads it, from the decoder itself: a lone byte
// above 0x7F is no UTF-8, so it is read wholly as Windows-1252.
const std::array<QChar, 256>& WindowsCharacters()
{
    static const std::array<QChar, 256> characters = [] {
        std::array<QChar, 256> table{};
        for (int byte = 0; byte < 256; ++byte) {
            const DecodedText decoded = DecodeText(QByteArray(1, char(byte)));
            if (decoded.text.size() != 1)
                PropertyFailed("one byte reads as one character", {{"byte", QString::number(byte, 16)}});
            table[size_t(byte)] = decoded.text[0];
        }
        for (int a = 0; a < 256; ++a) {
            for (int b = a + 1; b < 256; ++b) {
                if (table[size_t(a)] == table[size_t(b)])
                    PropertyFailed("no two Windows-1252 bytes read as the same character");
            }
        }
        return table;
    }();
    return characters;
}

bool FitsWindows1252(QChar c)
{
    static const std::array<bool, 0x10000> fits = [] {
        std::array<bool, 0x10000> table{};
        for (const QChar character : WindowsCharacters())
            table[character.unicode()] = true;
        return table;
    }();
    return fits[c.unicode()];
}

QString AsWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text += WindowsCharacters()[static_cast<unsigned char>(byte)];
    return text;
}

// A note text holds characters; an unpaired surrogate is none, and no
// encoding can hold it. It stands for the replacement character instead.
QString WithoutLoneSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

void CheckDecoding(const QByteArray& bytes)
{
    const DecodedText decoded = DecodeText(bytes);
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString asUtf8 = strict.decode(bytes);
    if (!strict.hasError() && (decoded.encoding != TextEncoding::Utf8 || decoded.text != asUtf8))
        PropertyFailed("valid UTF-8 is read as UTF-8", {{"bytes", Hex(bytes)}, {"text", decoded.text}});
    if (decoded.encoding == TextEncoding::Windows1252 && decoded.text != AsWindows1252(bytes))
        PropertyFailed("what is not read as UTF-8 is wholly Windows-1252", {{"bytes", Hex(bytes)}, {"text", decoded.text}});
}

void CheckEncodeText(const QString& text)
{
    if (EncodeText(text, TextEncoding::Utf8) != text.toUtf8())
        PropertyFailed("EncodeText to UTF-8 is UTF-8", {{"text", text}});
    const std::optional<QByteArray> windows = EncodeText(text, TextEncoding::Windows1252);
    const bool fits = std::all_of(text.begin(), text.end(), FitsWindows1252);
    if (windows.has_value() != fits || (windows && AsWindows1252(*windows) != text))
        PropertyFailed("EncodeText to Windows-1252 gives its bytes exactly when every character fits",
                       {{"text", text}, {"bytes", windows ? Hex(*windows) : QStringLiteral("nothing")}});
}

void CheckSaving(const QString& text, TextEncoding readEncoding)
{
    const EncodedText saved = EncodeForSaving(text, readEncoding);
    const DecodedText loaded = DecodeText(saved.bytes);
    if (loaded.text != text)
        PropertyFailed("save then load gives the same text",
                       {{"text", text}, {"read in", EncodingName(readEncoding)}, {"saved", Hex(saved.bytes)}, {"loaded", loaded.text}});
    if (EncodeForSaving(loaded.text, loaded.encoding).bytes != saved.bytes)
        PropertyFailed("bytes in saved form come back byte for byte",
                       {{"text", text}, {"read in", EncodingName(readEncoding)}, {"saved", Hex(saved.bytes)},
                        {"loaded as", EncodingName(loaded.encoding)}});

    // The encoding it was read in while the text fits and reads back, else UTF-8.
    const std::optional<QByteArray> windows = EncodeText(text, TextEncoding::Windows1252);
    const bool keepsWindows = readEncoding == TextEncoding::Windows1252 && windows && DecodeText(*windows).text == text;
    const QByteArray expected = keepsWindows ? *windows : text.toUtf8();
    if (saved.bytes != expected || (saved.encoding == TextEncoding::Windows1252) != keepsWindows)
        PropertyFailed("a text is saved in the encoding it was read in while it can be, else UTF-8",
                       {{"text", text}, {"read in", EncodingName(readEncoding)}, {"saved", Hex(saved.bytes)},
                        {"saved as", EncodingName(saved.encoding)}});
}

void CheckText(const QString& text)
{
    CheckEncodeText(text);
    CheckSaving(text, TextEncoding::Utf8);
    CheckSaving(text, TextEncoding::Windows1252);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckDecoding(bytes);
    const DecodedText decoded = DecodeText(bytes);
    CheckText(decoded.text);
    CheckText(QString::fromUtf8(bytes));

    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, size / 2 * 2);
    CheckText(WithoutLoneSurrogates(utf16));
    return 0;
}
