#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text files of this program come from Linux and from Windows machines: bytes
// that form valid UTF-8 are UTF-8, anything else is Windows-1252.
enum class TextEncoding { Utf8, Windows1252 };

struct DecodedText
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

DecodedText DecodeText(const QByteArray& bytes);

// The text in the given encoding, or nothing when a character does not fit it.
std::optional<QByteArray> EncodeText(const QString& text, TextEncoding encoding);

// The encoding the text is written in: the one it was read in while every
// character fits it, else UTF-8. Never replaces a character.
QByteArray EncodeKeepingEncoding(const QString& text, TextEncoding readEncoding);
