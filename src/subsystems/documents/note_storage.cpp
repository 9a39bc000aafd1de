#include "subsystems/documents/note_storage.h"

#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_watch.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace {

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    // Hands the descriptor over, to be closed by the caller, whose close may report an error.
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// A file made for a save, removed again unless the save keeps it.
class RemovedUnlessKept
{
public:
    explicit RemovedUnlessKept(QByteArray path)
        : m_path(std::move(path))
    {
    }
    ~RemovedUnlessKept()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    RemovedUnlessKept(const RemovedUnlessKept&) = delete;
    RemovedUnlessKept& operator=(const RemovedUnlessKept&) = delete;

    void keep() { m_path.clear(); }

private:
    QByteArray m_path;
};

bool MayRetryReadOnly(int error) { return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY; }

// Non-blocking, so a FIFO given as a note cannot hang the program.
constexpr int CommonOpenFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

int OpenForReading(const QByteArray& path, bool createMissing)
{
    int fd = ::open(path.constData(), O_RDWR | CommonOpenFlags);
    if (fd < 0 && errno == ENOENT && createMissing)
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | CommonOpenFlags, 0666);
    if (fd < 0 && MayRetryReadOnly(errno))
        fd = ::open(path.constData(), O_RDONLY | CommonOpenFlags);
    return fd;
}

NoteIdentity IdentityOf(const struct stat& info)
{
    return {info.st_dev, info.st_ino, qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec)};
}

// Reads a whole regular file from an open descriptor; more than limit bytes make it too large.
NoteReadResult ReadOpened(int fd, qint64 limit)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {errno, false, {}, {}};
    if (S_ISDIR(info.st_mode))
        return {EISDIR, false, {}, {}};
    if (!S_ISREG(info.st_mode))
        return {ENODEV, false, {}, {}};
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    // One byte past the limit tells a file that is too large.
    const qint64 wanted = limit < 0 ? 0 : limit < std::numeric_limits<qint64>::max() ? limit + 1 : limit;
    // Room for the file as it stands and one byte more, to see its end; it may
    // still grow while it is read, and files such as those in /proc claim no size.
    NoteReadResult result;
    result.identity = IdentityOf(info);
    result.bytes.resize(info.st_size < wanted ? info.st_size + 1 : wanted);
    qint64 total = 0;
    while (total < wanted) {
        if (total == result.bytes.size())
            result.bytes.resize(std::min(wanted, total + std::max<qint64>(total, 4096)));
        const ssize_t got = ::read(fd, result.bytes.data() + total, size_t(result.bytes.size() - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {errno, false, {}, {}};
        if (got == 0)
            break;
        total += got;
    }
    result.tooLarge = total > limit;
    result.bytes.resize(result.tooLarge ? 0 : total);
    return result;
}

// A missing file's path with its folder resolved, so two spellings of one place compare equal.
QString ResolvedPath(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName());
}

QByteArray DirectoryOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray Join(const QByteArray& directory, const char* name)
{
    return directory.endsWith('/') ? directory + name : directory + '/' + name;
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The copy of the old content beside the note, named after it so the user
// finds it; a name near the file system's limit leaves no room for the suffix.
QByteArray CopyPathTemplate(const QByteArray& target)
{
    static constexpr char Suffix[] = ".scriblet-copy-XXXXXX";
    const qsizetype slash = target.lastIndexOf('/');
    if (target.size() - slash - 1 + qsizetype(sizeof(Suffix)) - 1 <= NAME_MAX)
        return target + Suffix;
    return target.left(slash + 1) + QByteArray(Suffix + 1);
}

} // namespace

QByteArray NoteFingerprint(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool IsSameFile(const QString& first, const QString& second)
{
    struct stat one {};
    struct stat other {};
    if (::stat(QFile::encodeName(first).constData(), &one) != 0)
        return ResolvedPath(first) == ResolvedPath(second);
    return ::stat(QFile::encodeName(second).constData(), &other) == 0 && one.st_dev == other.st_dev
        && one.st_ino == other.st_ino;
}

QString ProbePathFor(const QString& targetPath)
{
    const QString name = targetPath.mid(targetPath.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.indexOf(u'.');
    const QString probeName = (dot < 0 ? name : name.left(dot)) + QStringLiteral(".ZZZ");
    return targetPath.left(targetPath.size() - name.size()) + probeName;
}

NoteReadResult NoteStorage::read(const QString& path, qint64 limit, bool createMissing)
{
    if (path.isEmpty())
        return {ENOENT, false, {}, {}};
    FileDescriptor fd(OpenForReading(QFile::encodeName(path), createMissing));
    if (fd.get() < 0)
        return {errno, false, {}, {}};
    return ReadOpened(fd.get(), limit);
}

NoteReadResult NoteStorage::readAsItIs(const QString& path, qint64 limit)
{
    if (path.isEmpty())
        return {ENOENT, false, {}, {}};
    FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | CommonOpenFlags));
    if (fd.get() < 0)
        return {errno, false, {}, {}};
    return ReadOpened(fd.get(), limit);
}

QByteArray NoteStorage::fingerprint(const QString& path)
{
    if (const int injected = stepFailure(SaveStep::Check))
        return injected == ENOENT ? QByteArray() : UnreadableFingerprint;
    const NoteReadResult read = readAsItIs(path, NoteFileSizeLimit);
    if (read.error == ENOENT)
        return {};
    if (read.error != 0 || read.tooLarge)
        return UnreadableFingerprint;
    return NoteFingerprint(read.bytes);
}

NoteIdentity NoteStorage::look(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return IdentityOf(info);
}

std::unique_ptr<NoteWatch> NoteStorage::watch(const QString& path, std::function<void()> changed)
{
    return WatchNoteFile(path, std::move(changed));
}

int NoteStorage::probe(const QString& targetPath)
{
    const QByteArray probePath = QFile::encodeName(ProbePathFor(targetPath));
    int fd = ::open(probePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probePath.constData());
        return 0;
    }
    if (errno != EEXIST)
        return errno;
    // Someone's file already bears the probe's name: probe with a unique name instead.
    QByteArray uniquePath = probePath + ".XXXXXX";
    fd = ::mkstemp(uniquePath.data());
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(uniquePath.constData());
    return 0;
}

ReplaceResult NoteStorage::replace(const QString& path, const QByteArray& bytes,
                                   const std::optional<QByteArray>& expected)
{
    // Write through a symbolic link to the file it names, never over the link itself.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat old {};
    const bool exists = ::stat(nativeTarget.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return {errno, SaveStep::Open, {}, false, {}};
    if (exists && S_ISDIR(old.st_mode))
        return {EISDIR, SaveStep::Open, {}, false, {}};
    if (exists && !S_ISREG(old.st_mode))
        return {ENODEV, SaveStep::Open, {}, false, {}};
    if (exists && ((old.st_mode & 0222) == 0 || ::access(nativeTarget.constData(), W_OK) != 0))
        return {EACCES, SaveStep::Open, {}, false, {}};

    // A new file in the old one's place would part it from its other names.
    if (exists && old.st_nlink > 1)
        return replaceInPlace(nativeTarget, bytes, expected);
    std::optional<ReplaceResult> renamed =
        replaceByRename(nativeTarget, exists ? &old : nullptr, bytes, 0666 & ~CurrentUmask(), expected);
    return renamed ? *std::move(renamed) : replaceInPlace(nativeTarget, bytes, expected);
}

ReplaceResult NoteStorage::writePrivate(const QString& path, const QByteArray& bytes)
{
    // Without an old file to take after, the rename is the only way.
    return *replaceByRename(QFile::encodeName(path), nullptr, bytes, 0600, std::nullopt);
}

int NoteStorage::stepFailure(SaveStep) { return 0; }

ssize_t NoteStorage::writeSome(int fd, const char* data, size_t size) { return ::write(fd, data, size); }

template <typename Call>
int NoteStorage::perform(SaveStep step, Call call)
{
    if (const int injected = stepFailure(step))
        return injected;
    if (call() >= 0)
        return 0;
    return errno != 0 ? errno : EIO;
}

bool NoteStorage::changedBeforeReplacing(const QByteArray& target, const std::optional<QByteArray>& expected)
{
    return expected && ChangedSince(fingerprint(QFile::decodeName(target)), *expected);
}

std::optional<ReplaceResult> NoteStorage::replaceByRename(const QByteArray& target, const struct stat* old,
                                                          const QByteArray& bytes, mode_t newFileMode,
                                                          const std::optional<QByteArray>& expected)
{
    const auto failed = [](int error, SaveStep step) { return std::optional(ReplaceResult{error, step, {}, false, {}}); };
    const QByteArray directory = DirectoryOf(target);
    QByteArray temporaryPath = Join(directory, ".scriblet-save-XXXXXX");
    int raw = -1;
    if (const int error = perform(SaveStep::Open, [&] { return raw = ::mkostemp(temporaryPath.data(), O_CLOEXEC); }))
        return failed(error, SaveStep::Open);
    FileDescriptor fd(raw);
    RemovedUnlessKept temporary(temporaryPath);

    // Owner and group before the mode: a change of owner clears the set-id bits.
    if (old && perform(SaveStep::ChangeOwner, [&] { return ::fchown(fd.get(), old->st_uid, old->st_gid); }) != 0)
        return std::nullopt;
    const mode_t mode = old ? (old->st_mode & 07777) : newFileMode;
    if (const int error = perform(SaveStep::ChangeMode, [&] { return ::fchmod(fd.get(), mode); }))
        return failed(error, SaveStep::ChangeMode);
    if (old && !copyAttributes(target, fd.get()))
        return std::nullopt;

    if (const int error = writeAll(fd.get(), bytes))
        return failed(error, SaveStep::Write);
    if (const int error = perform(SaveStep::Sync, [&] { return ::fsync(fd.get()); }))
        return failed(error, SaveStep::Sync);
    struct stat written {};
    if (const int error = perform(SaveStep::Sync, [&] { return ::fstat(fd.get(), &written); }))
        return failed(error, SaveStep::Sync);
    if (const int error = perform(SaveStep::Close, [&] { return ::close(fd.release()); }))
        return failed(error, SaveStep::Close);
    // The last look: what another program wrote meanwhile is not replaced unseen.
    if (changedBeforeReplacing(target, expected))
        return ReplaceResult::changedElsewhereResult();
    const auto moveIntoPlace = [&] { return ::rename(temporaryPath.constData(), target.constData()); };
    if (const int error = perform(SaveStep::Rename, moveIntoPlace))
        return failed(error, SaveStep::Rename);
    temporary.keep();
    ReplaceResult result;
    result.written = IdentityOf(written);
    if (const int error = syncDirectory(directory, SaveStep::DirectorySync)) {
        result.error = error;
        result.failedStep = SaveStep::DirectorySync;
    }
    return result;
}

ReplaceResult NoteStorage::replaceInPlace(const QByteArray& target, const QByteArray& bytes,
                                          const std::optional<QByteArray>& expected)
{
    QByteArray copyPath = CopyPathTemplate(target);
    if (const int error = copyContent(target, copyPath))
        return {error, SaveStep::Copy, {}, false, {}};
    RemovedUnlessKept copy(copyPath);
    if (changedBeforeReplacing(target, expected))
        return ReplaceResult::changedElsewhereResult();
    int raw = -1;
    const auto open = [&] { return raw = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY); };
    if (const int error = perform(SaveStep::Open, open))
        return {error, SaveStep::Open, {}, false, {}}; // nothing touched yet
    FileDescriptor fd(raw);

    // From here the note may hold part of the new text: the copy is all that is left of the old.
    const auto failed = [&](int error, SaveStep step) {
        copy.keep();
        return ReplaceResult{error, step, QFile::decodeName(copyPath), false, {}};
    };
    if (const int error = writeAll(fd.get(), bytes))
        return failed(error, SaveStep::Write);
    if (const int error = perform(SaveStep::Write, [&] { return ::ftruncate(fd.get(), off_t(bytes.size())); }))
        return failed(error, SaveStep::Write);
    if (const int error = perform(SaveStep::Sync, [&] { return ::fsync(fd.get()); }))
        return failed(error, SaveStep::Sync);
    struct stat written {};
    if (const int error = perform(SaveStep::Sync, [&] { return ::fstat(fd.get(), &written); }))
        return failed(error, SaveStep::Sync);
    if (const int error = perform(SaveStep::Close, [&] { return ::close(fd.release()); }))
        return failed(error, SaveStep::Close);
    ReplaceResult result;
    result.written = IdentityOf(written);
    return result;
}

bool NoteStorage::copyAttributes(const QByteArray& source, int fd)
{
    ssize_t listed = 0;
    const auto list = [&](char* into, size_t room) { return listed = ::listxattr(source.constData(), into, room); };
    if (const int error = perform(SaveStep::CopyAttributes, [&] { return list(nullptr, 0); }))
        return error == ENOTSUP || error == ENODATA; // no attributes on this file system
    QByteArray names(listed, Qt::Uninitialized);
    if (listed > 0 && perform(SaveStep::CopyAttributes, [&] { return list(names.data(), size_t(names.size())); }) != 0)
        return false;
    names.resize(listed);

    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        ssize_t length = 0;
        const auto get = [&](void* into, size_t room) {
            return length = ::getxattr(source.constData(), name.constData(), into, room);
        };
        const int error = perform(SaveStep::CopyAttributes, [&] { return get(nullptr, 0); });
        if (error == ENODATA)
            continue; // removed meanwhile
        if (error != 0)
            return false;
        QByteArray value(length, Qt::Uninitialized);
        const auto getValue = [&] { return get(value.data(), size_t(value.size())); };
        if (length > 0 && perform(SaveStep::CopyAttributes, getValue) != 0)
            return false;
        value.resize(length);
        const auto setValue = [&] {
            return ::fsetxattr(fd, name.constData(), value.constData(), size_t(value.size()), 0);
        };
        if (perform(SaveStep::CopyAttributes, setValue) != 0)
            return false;
    }
    return true;
}

int NoteStorage::copyContent(const QByteArray& source, QByteArray& copyPath)
{
    int raw = -1;
    if (const int error = perform(SaveStep::Copy, [&] { return raw = ::mkostemp(copyPath.data(), O_CLOEXEC); }))
        return error;
    FileDescriptor out(raw);
    RemovedUnlessKept copy(copyPath);
    const auto openSource = [&] { return raw = ::open(source.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY); };
    if (const int error = perform(SaveStep::Copy, openSource))
        return error;
    FileDescriptor in(raw);

    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        ssize_t got = 0;
        const auto readSome = [&] { return got = ::read(in.get(), buffer.data(), size_t(buffer.size())); };
        const int readError = perform(SaveStep::Copy, readSome);
        if (readError == EINTR)
            continue;
        if (readError != 0)
            return readError;
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            ssize_t put = 0;
            const auto writeRest = [&] {
                return put = ::write(out.get(), buffer.constData() + done, size_t(got - done));
            };
            const int writeError = perform(SaveStep::Copy, writeRest);
            if (writeError == EINTR)
                continue;
            if (writeError != 0 || put == 0)
                return writeError != 0 ? writeError : EIO;
            done += put;
        }
    }
    if (const int error = perform(SaveStep::Copy, [&] { return ::fsync(out.get()); }))
        return error;
    if (const int error = perform(SaveStep::Copy, [&] { return ::close(out.release()); }))
        return error;
    if (const int error = syncDirectory(DirectoryOf(copyPath), SaveStep::Copy))
        return error;
    copy.keep();
    return 0;
}

int NoteStorage::writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        if (const int injected = stepFailure(SaveStep::Write))
            return injected;
        const ssize_t put = writeSome(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : EIO;
        written += put;
    }
    return 0;
}

int NoteStorage::syncDirectory(const QByteArray& directory, SaveStep step)
{
    int raw = -1;
    const auto open = [&] { return raw = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); };
    if (const int error = perform(step, open))
        return error;
    FileDescriptor fd(raw);
    const int error = perform(step, [&] { return ::fsync(fd.get()); });
    // Some file systems cannot sync a directory; they have nothing to wait for.
    if (error != 0 && error != EINVAL)
        return error;
    return perform(step, [&] { return ::close(fd.release()); });
}
