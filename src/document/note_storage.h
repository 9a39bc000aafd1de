#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

struct NoteReadResult
{
    int error = 0; // errno of a failed open or read, 0 otherwise
    bool tooLarge = false;
    QByteArray bytes;
};

// Note files on disk. Every operation opens, uses and closes its file; the
// result carries the system's error number so the caller can report it.
class NoteStorage
{
public:
    virtual ~NoteStorage() = default;

    // Reads a whole note file; more than limit bytes make it too large, however
    // the file changes while it is read. Opens for reading and writing where it
    // may, else for reading only; a missing file is created empty when asked.
    virtual NoteReadResult read(const QString& path, qint64 limit, bool createMissing);

    // Whether the target's directory takes a new file, tried with a probe file
    // named like the target with the extension ZZZ, created and removed again.
    // An existing file of the probe's name is left alone. 0 or the errno.
    virtual int probe(const QString& targetPath);

    // Replaces the file's content by bytes: everything is written to a new
    // file beside it, which then takes the old one's place and permissions, so
    // a failure leaves the old file as it was. A file marked read-only is
    // refused. 0 or the errno.
    virtual int replace(const QString& path, const QByteArray& bytes);

protected:
    // The one place bytes reach the disk in replace(); tests make it fail.
    virtual ssize_t writeSome(int fd, const char* data, size_t size);
};

// The probe file for a target: the target's file name up to its first dot, plus ".ZZZ".
QString ProbePathFor(const QString& targetPath);
