#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>

struct stat;

// A cheap first look at a file: when it is the same, the file's bytes need
// not be read to know they are the same.
struct NoteIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = -1; // -1: no such file, or not looked at
    qint64 modifiedNanoseconds = 0;

    bool operator==(const NoteIdentity&) const = default;
};

struct NoteReadResult
{
    int error = 0; // errno of a failed open or read, 0 otherwise
    bool tooLarge = false;
    QByteArray bytes;
    NoteIdentity identity{}; // of the file as it was read
};

// The parts of a save, each of which the system may refuse. Check is the
// look at the note right before it is replaced.
enum class SaveStep { Open, ChangeOwner, Write, Sync, Close, Rename, DirectorySync, Copy, ChangeMode, CopyAttributes, Check };

struct ReplaceResult
{
    int error = 0;                        // 0 (and not changedElsewhere): the note holds the new bytes
    SaveStep failedStep = SaveStep::Open; // meaningful when error != 0
    QString keptCopy;                     // after a failed in-place write: the copy holding the old content
    bool changedElsewhere = false;        // the note no longer held what was expected: nothing was written
    NoteIdentity written{};               // the note as written

    static ReplaceResult changedElsewhereResult()
    {
        ReplaceResult changed;
        changed.changedElsewhere = true;
        return changed;
    }
};

// A watch on one note; while it lives, a change of the note's file calls back.
class NoteWatch
{
public:
    virtual ~NoteWatch() = default;
};

// What a note file holds, to compare with what the program last read or
// wrote: the SHA-256 of its bytes in hex; empty for a missing file; for a
// file that cannot be read or is too large, a mark that equals no hash.
QByteArray NoteFingerprint(const QByteArray& bytes);
inline const QByteArray UnreadableFingerprint = QByteArrayLiteral("unreadable");

// Whether the file's fingerprint now shows it was changed since it was
// expected: a missing file was not changed, as nothing on it can be lost.
inline bool ChangedSince(const QByteArray& now, const QByteArray& expected)
{
    return !now.isEmpty() && now != expected;
}

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
    // Reads the file as it is, opened for reading only, so nobody watching it
    // is told it was written.
    NoteReadResult readAsItIs(const QString& path, qint64 limit);
    // The note's fingerprint now (see NoteFingerprint), read as it is.
    QByteArray fingerprint(const QString& path);
    // The file's identity now; size -1 when it cannot be looked at.
    virtual NoteIdentity look(const QString& path);
    // Calls changed (from the event loop) whenever the file the path leads to,
    // or the name in its folder, changes; watches the file anew after it is
    // replaced. Nothing where the system offers no notifications.
    virtual std::unique_ptr<NoteWatch> watch(const QString& path, std::function<void()> changed);

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
    // read-only is refused. With expected, the note must still have that
    // fingerprint right before it is replaced (after the new file is on disk,
    // or after the copy of the old content): otherwise nothing is replaced
    // and the result says changedElsewhere. A missing note is written.
    virtual ReplaceResult replace(const QString& path, const QByteArray& bytes,
                                  const std::optional<QByteArray>& expected = std::nullopt);

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
                                                 const QByteArray& bytes, mode_t newFileMode,
                                                 const std::optional<QByteArray>& expected);
    ReplaceResult replaceInPlace(const QByteArray& target, const QByteArray& bytes,
                                 const std::optional<QByteArray>& expected);
    bool changedBeforeReplacing(const QByteArray& target, const std::optional<QByteArray>& expected);
    bool copyAttributes(const QByteArray& source, int fd);
    int copyContent(const QByteArray& source, QByteArray& copyPath);
    int writeAll(int fd, const QByteArray& bytes);
    int syncDirectory(const QByteArray& directory, SaveStep step);
};

// Whether two paths name one file: the same device and inode, or, where the
// first is missing, the same path once ".", ".." and symbolic links are resolved.
bool IsSameFile(const QString& first, const QString& second);

// The probe file for a target: the target's file name up to its first dot, plus ".ZZZ".
QString ProbePathFor(const QString& targetPath);
