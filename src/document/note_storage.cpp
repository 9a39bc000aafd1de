#include "document/note_storage.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Closes now and reports the close's own error (a full disk may show only here).
    int close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

bool MayRetryReadOnly(int error) { return error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY; }

int OpenForReading(const QByteArray& path, bool createMissing)
{
    // Non-blocking, so a FIFO given as a note cannot hang the program.
    const int common = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(path.constData(), O_RDWR | common);
    if (fd < 0 && errno == ENOENT && createMissing)
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | common, 0666);
    if (fd < 0 && MayRetryReadOnly(errno))
        fd = ::open(path.constData(), O_RDONLY | common);
    return fd;
}

QString DirectoryOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString Join(const QString& directory, const QString& name)
{
    return directory.endsWith(u'/') ? directory + name : directory + u'/' + name;
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

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
        return {ENOENT, false, {}};
    FileDescriptor fd(OpenForReading(QFile::encodeName(path), createMissing));
    if (fd.get() < 0)
        return {errno, false, {}};
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return {errno, false, {}};
    if (S_ISDIR(info.st_mode))
        return {EISDIR, false, {}};
    if (!S_ISREG(info.st_mode))
        return {ENODEV, false, {}};
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);

    NoteReadResult result;
    result.bytes.resize(limit + 1);
    qint64 total = 0;
    while (total <= limit) {
        const ssize_t got = ::read(fd.get(), result.bytes.data() + total, size_t(limit + 1 - total));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {errno, false, {}};
        if (got == 0)
            break;
        total += got;
    }
    result.tooLarge = total > limit;
    result.bytes.resize(result.tooLarge ? 0 : total);
    return result;
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

int NoteStorage::replace(const QString& path, const QByteArray& bytes)
{
    // Write through a symbolic link to the file it names, never over the link itself.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QByteArray nativeTarget = QFile::encodeName(target);

    struct stat old {};
    const bool exists = ::stat(nativeTarget.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(old.st_mode))
        return ENODEV;
    if (exists && ((old.st_mode & 0222) == 0 || ::access(nativeTarget.constData(), W_OK) != 0))
        return EACCES;

    QByteArray temporary = QFile::encodeName(Join(DirectoryOf(target), QStringLiteral(".scriblet-save-XXXXXX")));
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return errno;
    const auto fail = [&temporary](int error) {
        ::unlink(temporary.constData());
        return error;
    };
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd.get(), mode) != 0)
        return fail(errno);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t put = writeSome(fd.get(), bytes.constData() + written, size_t(bytes.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return fail(put < 0 ? errno : EIO);
        written += put;
    }
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (const int closeError = fd.close())
        return fail(closeError);
    if (::rename(temporary.constData(), nativeTarget.constData()) != 0)
        return fail(errno);
    return 0;
}

ssize_t NoteStorage::writeSome(int fd, const char* data, size_t size) { return ::write(fd, data, size); }
