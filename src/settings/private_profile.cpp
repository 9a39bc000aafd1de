#include "settings/private_profile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool IsProfileBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString TrimProfileBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsProfileBlank(text[start]))
        ++start;
    while (end > start && IsProfileBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start).toString();
}

std::optional<QString> SectionName(const QString& line)
{
    const QString trimmed = TrimProfileBlanks(line);
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    return TrimProfileBlanks(QStringView(trimmed).mid(1, close < 0 ? -1 : close - 1));
}

bool LineHasKey(const QString& line, const QString& key)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals >= 0 && TrimProfileBlanks(QStringView(line).left(equals)).compare(key, Qt::CaseInsensitive) == 0;
}

QString KeyOfLine(const QString& line) { return TrimProfileBlanks(QStringView(line).left(line.indexOf(u'='))); }

QString RawValueOfLine(const QString& line) { return TrimProfileBlanks(QStringView(line).mid(line.indexOf(u'=') + 1)); }

QString ValueOfLine(const QString& line)
{
    QString value = RawValueOfLine(line);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

constexpr QChar ByteOrderMark(0xFEFF);

// The settings file is read before any window shows: anything but a regular
// file (a named pipe, a device) must not hang the start. Returns 0, ENOENT
// for a missing file, or why the file cannot be read.
int ReadRegularFile(const QString& path, QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno;
    struct stat info {};
    int error = ::fstat(fd, &info) != 0 ? errno : (S_ISREG(info.st_mode) ? 0 : EINVAL);
    if (error == 0)
        bytes.resize(qsizetype(info.st_size));
    qsizetype total = 0;
    while (error == 0) {
        if (total == bytes.size())
            bytes.resize(total + 4096); // the file grew while it was read
        const ssize_t got = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        total += got;
    }
    bytes.resize(total);
    ::close(fd);
    return error;
}

} // namespace

PrivateProfile::PrivateProfile(QString path)
    : m_path(std::move(path))
{
    if (m_path.isEmpty())
        return;
    QByteArray bytes;
    const int error = ReadRegularFile(m_path, bytes);
    m_unreadable = error != 0 && error != ENOENT;
    if (error == 0)
        parse(bytes);
}

PrivateProfile PrivateProfile::fromBytes(const QByteArray& bytes)
{
    PrivateProfile profile{QString()};
    profile.parse(bytes);
    return profile;
}

void PrivateProfile::parse(const QByteArray& bytes)
{
    DecodedText decoded = DecodeText(bytes);
    m_encoding = decoded.encoding;
    if (decoded.text.startsWith(ByteOrderMark)) {
        m_byteOrderMark = true;
        decoded.text.remove(0, 1);
    }
    if (bytes.contains("\r\n"))
        m_lineEnd = QStringLiteral("\r\n");
    m_lines = SplitLines(decoded.text);
}

QString PrivateProfile::readString(const QString& section, const QString& key, int bufferSize) const
{
    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0 || bufferSize <= 1)
        return {};
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return {};
    const QString value = ValueOfLine(m_lines[keyLine]);
    // Half a surrogate pair is no character: no file could hold it.
    qsizetype length = std::clamp<qsizetype>(bufferSize - 1, 0, value.size());
    if (length > 0 && length < value.size() && value[length - 1].isHighSurrogate() && value[length].isLowSurrogate())
        --length;
    return value.left(length);
}

QString PrivateProfile::readRawValue(const QString& section, const QString& key) const
{
    const qsizetype sectionLine = findSection(section);
    const qsizetype keyLine = sectionLine < 0 ? -1 : findKey(sectionLine, key);
    return keyLine < 0 ? QString() : RawValueOfLine(m_lines[keyLine]);
}

void PrivateProfile::writeString(const QString& section, const QString& key, const QString& value)
{
    // A line break inside a value would break the file's structure.
    QString text = value;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString line = key + u'=' + text;

    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!m_lines.isEmpty() && !TrimProfileBlanks(m_lines.back()).isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
        return;
    }
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine >= 0)
        m_lines[keyLine] = KeyOfLine(m_lines[keyLine]) + u'=' + text; // the file's own spelling of the key
    else
        m_lines.insert(sectionEnd(sectionLine), line);
}

QByteArray PrivateProfile::toBytes() const
{
    QString text = m_byteOrderMark ? QString(ByteOrderMark) : QString();
    for (const QString& line : m_lines)
        text += line + m_lineEnd;
    return EncodeForSaving(text, m_encoding).bytes;
}

bool PrivateProfile::save() const
{
    // A file that exists but could not be read would lose everything in it.
    if (m_path.isEmpty() || m_unreadable)
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toBytes());
    return file.commit();
}

qsizetype PrivateProfile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = SectionName(m_lines[i]);
        if (name && name->compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype PrivateProfile::findKey(qsizetype sectionLine, const QString& key) const
{
    for (qsizetype i = sectionLine + 1; i < m_lines.size() && !SectionName(m_lines[i]); ++i) {
        if (LineHasKey(m_lines[i], key))
            return i;
    }
    return -1;
}

qsizetype PrivateProfile::sectionEnd(qsizetype sectionLine) const
{
    qsizetype lastContent = sectionLine;
    for (qsizetype i = sectionLine + 1; i < m_lines.size() && !SectionName(m_lines[i]); ++i) {
        if (!TrimProfileBlanks(m_lines[i]).isEmpty())
            lastContent = i;
    }
    return lastContent + 1;
}
