#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text files of this program come from Linux and from Windows machines: bytes
// that are mostly UTF-8 are UTF-8, anything else is Windows-1252.
enum class TextEncoding { Utf8, Windows1252 };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// Valid UTF-8 is read as UTF-8 (an initial byte-order mark stays U+FEFF). Bytes with
// more valid multi-byte UTF-8 sequences than invalid bytes are UTF-8 too, each invalid
// byte read as its Windows-1252 character; anything else is wholly Windows-1252.
DecodedText DecodeText(const QByteArray& bytes);

// The text in the given encoding, or nothing when a character does not fit it.
std::optional<QByteArray> EncodeText(const QString& text, TextEncoding encoding);

struct EncodedText
{
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
};

// The bytes a text is saved as: in the encoding it was read in while every character fits
// and the bytes read back as the same text, else UTF-8. Never replaces a character.
EncodedText EncodeForSaving(const QString& text, TextEncoding readEncoding);
