#include "app/private_profile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
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

QString ValueOfLine(const QString& line)
{
    QString value = TrimProfileBlanks(QStringView(line).mid(line.indexOf(u'=') + 1));
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

} // namespace

PrivateProfile::PrivateProfile(QString path)
    : m_path(std::move(path))
{
    QFile file(m_path);
    if (m_path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    DecodedText decoded = DecodeText(bytes);
    m_encoding = decoded.encoding;
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
    return ValueOfLine(m_lines[keyLine]).left(bufferSize - 1);
}

void PrivateProfile::writeString(const QString& section, const QString& key, const QString& value)
{
    // A line break inside a value would break the file's structure.
    QString line = key + u'=' + value;
    line.replace(u'\r', u' ').replace(u'\n', u' ');

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
        m_lines[keyLine] = line;
    else
        m_lines.insert(sectionEnd(sectionLine), line);
}

bool PrivateProfile::save() const
{
    if (m_path.isEmpty())
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const QString& line : m_lines)
        text += line + m_lineEnd;
    file.write(EncodeKeepingEncoding(text, m_encoding));
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
