#include "subsystems/documents/recovery_file.h"

#include <QUrl>

namespace {

const QByteArray Magic = QByteArrayLiteral("SCRIBLET RECOVERY 1");

QByteArray EncodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Windows1252 ? QByteArrayLiteral("Windows-1252") : QByteArrayLiteral("UTF-8");
}

// The value of "Name: value" when the line is that header.
std::optional<QByteArray> HeaderValue(const QByteArray& line, const char* name)
{
    const QByteArray prefix = QByteArray(name) + ": ";
    if (!line.startsWith(prefix))
        return std::nullopt;
    return line.mid(prefix.size());
}

} // namespace

QByteArray RecoveryFileBytes(const RecoveredNote& note)
{
    const QByteArray text = note.text.toUtf8();
    QByteArray bytes = Magic + '\n';
    // Percent-encoded, so a file name holding a line break stays on its line.
    bytes += "Note: " + QUrl::toPercentEncoding(note.notePath, "/") + '\n';
    bytes += "Encoding: " + EncodingName(note.encoding) + '\n';
    bytes += "Kept: " + note.keptAt.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    if (!note.diskFingerprint.isEmpty())
        bytes += "On Disk: " + note.diskFingerprint + '\n';
    bytes += "Length: " + QByteArray::number(text.size()) + "\n\n";
    return bytes + text;
}

std::optional<RecoveredNote> ParseRecoveryFile(const QByteArray& bytes)
{
    const qsizetype headerEnd = bytes.indexOf("\n\n");
    if (headerEnd < 0)
        return std::nullopt;
    QList<QByteArray> lines = bytes.left(headerEnd).split('\n');
    // Files of older versions have no line for the note on disk.
    std::optional<QByteArray> onDisk;
    if (lines.size() == 6) {
        onDisk = HeaderValue(lines[4], "On Disk");
        if (!onDisk)
            return std::nullopt;
        lines.removeAt(4);
    }
    if (lines.size() != 5 || lines[0] != Magic)
        return std::nullopt;
    const auto path = HeaderValue(lines[1], "Note");
    const auto encoding = HeaderValue(lines[2], "Encoding");
    const auto kept = HeaderValue(lines[3], "Kept");
    const auto length = HeaderValue(lines[4], "Length");
    if (!path || !encoding || !kept || !length)
        return std::nullopt;
    bool lengthRead = false;
    const qsizetype textLength = length->toLongLong(&lengthRead);
    const QByteArray text = bytes.mid(headerEnd + 2);
    // A file cut short (or grown) is not offered as if it were whole.
    if (!lengthRead || textLength != text.size())
        return std::nullopt;
    RecoveredNote note;
    note.notePath = QUrl::fromPercentEncoding(*path);
    if (*encoding == EncodingName(TextEncoding::Windows1252))
        note.encoding = TextEncoding::Windows1252;
    else if (*encoding != EncodingName(TextEncoding::Utf8))
        return std::nullopt;
    note.keptAt = QDateTime::fromString(QString::fromLatin1(*kept), Qt::ISODateWithMs);
    if (!note.keptAt.isValid())
        return std::nullopt;
    note.text = QString::fromUtf8(text);
    note.diskFingerprint = onDisk.value_or(QByteArray());
    return note;
}
