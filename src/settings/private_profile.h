#pragma once

#include "settings/text_encoding.h"

#include <QString>
#include <QStringList>

// A private-profile (INI) file with the semantics of the Windows profile API:
// section and key names match without regard to case, values are read with
// surrounding blanks and one pair of surrounding quotes removed, writes
// replace a key's line in place or append the key or its section, and every
// other line of the file is kept. The file is read when the object is made
// and written, atomically, only by save(). A leading byte-order mark is kept.
class PrivateProfile
{
public:
    explicit PrivateProfile(QString path);

    // The same reading and writing without a file: a profile parsed from the
    // bytes a file would hold (it has no path, so save() writes nothing), and
    // the bytes save() writes.
    static PrivateProfile fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    // The key's value, cut to bufferSize - 1 characters (one less where the
    // cut would split a surrogate pair); empty when the section, the key or
    // the value is missing.
    QString readString(const QString& section, const QString& key, int bufferSize) const;

    // The key's value with surrounding blanks removed but its quotes kept and
    // not cut: readString cannot tell a value written as "" from a missing one.
    QString readRawValue(const QString& section, const QString& key) const;

    void writeString(const QString& section, const QString& key, const QString& value);

    // Writes the whole file through a temporary file and a rename, so a crash
    // never leaves half a file. A file that exists but could not be read is
    // never replaced. Returns whether the file was written.
    bool save() const;

private:
    void parse(const QByteArray& bytes);
    qsizetype findSection(const QString& section) const;
    qsizetype findKey(qsizetype sectionLine, const QString& key) const;
    qsizetype sectionEnd(qsizetype sectionLine) const;

    QString m_path;
    QStringList m_lines;
    QString m_lineEnd = QStringLiteral("\n");
    TextEncoding m_encoding = TextEncoding::Utf8;
    bool m_byteOrderMark = false;
    bool m_unreadable = false;
};
