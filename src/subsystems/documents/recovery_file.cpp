#include "subsystems/documents/recovery_file.h"

#include <QFile>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

int WriteAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : EIO;
        done += put;
    }
    return 0;
}

int SyncDirectory(const QByteArray& directory)
{
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
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
    bytes += "Length: " + QByteArray::number(text.size()) + "\n\n";
    return bytes + text;
}

std::optional<RecoveredNote> ParseRecoveryFile(const QByteArray& bytes)
{
    const qsizetype headerEnd = bytes.indexOf("\n\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = bytes.left(headerEnd).split('\n');
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
    return note;
}

int WritePrivateFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray directory = slash <= 0 ? QByteArray(slash == 0 ? "/" : ".") : target.left(slash);
    QByteArray temporary = directory + "/.recovery-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC); // mode 0600
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fdatasync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    return SyncDirectory(directory);
}
