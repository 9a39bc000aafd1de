#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

struct stat;

struct NoteReadResult
{
    int error = 0; // errno of a failed open or read, 0 otherwise
    bool tooLarge = false;
    QByteArray bytes;
};

// The parts of a save, each of which the system may refuse.
enum class SaveStep { Open, ChangeOwner, Write, Sync, Close, Rename, DirectorySync, Copy, ChangeMode, CopyAttributes };

struct ReplaceResult
{
    int error = 0;                        // 0: the note holds the new bytes
    SaveStep failedStep = SaveStep::Open; // meaningful when error != 0
    QString keptCopy;                     // after a failed in-place write: the copy holding the old content
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

    // Replaces the file's content by bytes. Everything is written to a new file
    // beside it, which takes the old one's owner, group, permissions and
    // extended attributes and then its place, so a failure leaves the old file
    // as it was. Where the new file cannot take all of these, or other names
    // link to the file, the old content is first copied beside it and the file
    // is rewritten in place. A symbolic link is written through; a file marked
    // read-only is refused.
    virtual ReplaceResult replace(const QString& path, const QByteArray& bytes);

    // Writes a file readable by its owner only, through a new file beside it
    // that takes the old one's place once it is on disk, so a failure leaves
    // the old file whole. A symbolic link of the name is replaced, not followed.
    ReplaceResult writePrivate(const QString& path, const QByteArray& bytes);

protected:
    // Consulted before every system call of a save: an errno returned here
    // fails that call without making it. Tests inject faults through it.
    virtual int stepFailure(SaveStep step);
    // The one place a note's bytes reach the disk in replace(); tests make it fail.
    virtual ssize_t writeSome(int fd, const char* data, size_t size);

private:
    template <typename Call>
    int perform(SaveStep step, Call call);
    // Empty when the new file cannot take the old one's owner or attributes.
    // A new file takes newFileMode when there is no old one.
    std::optional<ReplaceResult> replaceByRename(const QByteArray& target, const struct stat* old,
                                                 const QByteArray& bytes, mode_t newFileMode);
    ReplaceResult replaceInPlace(const QByteArray& target, const QByteArray& bytes);
    bool copyAttributes(const QByteArray& source, int fd);
    int copyContent(const QByteArray& source, QByteArray& copyPath);
    int writeAll(int fd, const QByteArray& bytes);
    int syncDirectory(const QByteArray& directory, SaveStep step);
};

// The probe file for a target: the target's file name up to its first dot, plus ".ZZZ".
QString ProbePathFor(const QString& targetPath);
