#include "subsystems/documents/recovery_folder.h"

#include "platform/file_identity.h"
#include "subsystems/documents/note_storage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString FilePattern = QStringLiteral("session-*.note");
const QString LockPattern = QStringLiteral("session-*.lock");
// The names of a write in progress, now and in earlier versions of the program.
const QStringList TemporaryPatterns = {QStringLiteral(".scriblet-save-*"), QStringLiteral(".recovery-*")};
constexpr qint64 LargestRecoveryFile = 64 * 1024 * 1024;

QString LockPathFor(const QString& filePath) { return filePath.chopped(5) + QStringLiteral(".lock"); }

QString FilePathFor(const QString& lockPath) { return lockPath.chopped(5) + QStringLiteral(".note"); }

// A descriptor holding the lock on the file, or -1 when a running copy holds it.
int TakeLock(const QString& lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !NameLeadsToOpenFile(fd, path)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void Unlink(const QString& path) { ::unlink(QFile::encodeName(path).constData()); }

bool Rename(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The directory, made readable by its owner only when it is made. 0 or the errno.
int MakeDirectory(const QString& directory)
{
    QDir().mkpath(QFileInfo(directory).absolutePath());
    if (::mkdir(QFile::encodeName(directory).constData(), 0700) == 0)
        return 0;
    if (errno != EEXIST)
        return errno;
    return QFileInfo(directory).isDir() ? 0 : ENOTDIR;
}

std::optional<QByteArray> ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestRecoveryFile)
        return std::nullopt;
    return file.readAll();
}

} // namespace

Leftover::Leftover(QString path, QString lockPath, int lockFd, RecoveredNote note)
    : m_path(std::move(path))
    , m_lockPath(std::move(lockPath))
    , m_lockFd(lockFd)
    , m_note(std::move(note))
{
}

Leftover::Leftover(Leftover&& other) noexcept
    : m_path(std::move(other.m_path))
    , m_lockPath(std::move(other.m_lockPath))
    , m_lockFd(std::exchange(other.m_lockFd, -1))
    , m_note(std::move(other.m_note))
{
}

Leftover& Leftover::operator=(Leftover&& other) noexcept
{
    std::swap(m_path, other.m_path);
    std::swap(m_lockPath, other.m_lockPath);
    std::swap(m_lockFd, other.m_lockFd);
    std::swap(m_note, other.m_note);
    return *this;
}

Leftover::~Leftover()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

// Two copies setting texts aside at once take turns, so neither pushes out the other's.
void Leftover::setAside()
{
    const QString directory = QFileInfo(m_path).absolutePath();
    const int turn = ::open(QFile::encodeName(directory + QStringLiteral("/set-aside.lock")).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (turn < 0 || ::flock(turn, LOCK_EX) != 0) {
        if (turn >= 0)
            ::close(turn);
        return;
    }
    const QString target = directory + QStringLiteral("/set-aside.note");
    Rename(target, target + QStringLiteral(".old"));
    if (Rename(m_path, target))
        release();
    ::close(turn);
}

void Leftover::remove()
{
    Unlink(m_path);
    release();
}

void Leftover::release()
{
    if (m_lockFd < 0)
        return;
    // Removed while still locked, so no other copy takes the name's lock meanwhile.
    Unlink(m_lockPath);
    ::close(std::exchange(m_lockFd, -1));
}

RecoveryFolder::RecoveryFolder(QString directory)
    : m_directory(std::move(directory))
{
}

RecoveryFolder::~RecoveryFolder()
{
    if (m_lockFd < 0)
        return;
    if (!m_holdsFile)
        Unlink(m_lockPath);
    ::close(m_lockFd);
}

// The lock is taken under a name nobody looks for, and the file gets its
// session name only once it is locked.
int RecoveryFolder::startSession()
{
    if (m_lockFd >= 0)
        return 0;
    if (m_directory.isEmpty())
        return ENOENT;
    if (const int error = MakeDirectory(m_directory))
        return error;
    QByteArray newName = QFile::encodeName(m_directory + QStringLiteral("/new-XXXXXX.lock"));
    const int fd = ::mkostemps(newName.data(), 5, O_CLOEXEC);
    if (fd < 0)
        return errno;
    const QByteArray name = QFile::encodeName(m_directory + QStringLiteral("/session-"))
        + newName.mid(newName.size() - 11, 6) + ".lock";
    const bool named = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::link(newName.constData(), name.constData()) == 0;
    const int error = named ? 0 : errno;
    ::unlink(newName.constData());
    if (error != 0) {
        ::close(fd);
        return error;
    }
    m_lockFd = fd;
    m_lockPath = QFile::decodeName(name);
    m_filePath = FilePathFor(m_lockPath);
    return 0;
}

int RecoveryFolder::keep(NoteStorage& storage, const QByteArray& bytes)
{
    if (const int error = startSession())
        return error;
    const int error = storage.writePrivate(m_filePath, bytes).error;
    // A file renamed into place whose folder could not be synced is there all the same.
    if (error == 0 || QFileInfo::exists(m_filePath))
        m_holdsFile = true;
    return error;
}

void RecoveryFolder::discard()
{
    if (!m_holdsFile)
        return;
    Unlink(m_filePath);
    m_holdsFile = false;
}

void RecoveryFolder::claimLeftovers(std::vector<Leftover>& found, QStringList& unreadable)
{
    const QDir directory(m_directory);
    if (m_directory.isEmpty() || !directory.exists())
        return;
    for (const QString& name : directory.entryList({FilePattern}, QDir::Files | QDir::Hidden)) {
        const QString path = directory.filePath(name);
        if (path == m_filePath)
            continue;
        const QString lockPath = LockPathFor(path);
        const int lockFd = TakeLock(lockPath);
        if (lockFd < 0)
            continue;
        // Another copy may have dealt with it between the listing and the lock.
        if (!QFileInfo::exists(path)) {
            Unlink(lockPath);
            ::close(lockFd);
            continue;
        }
        const std::optional<QByteArray> bytes = ReadWhole(path);
        std::optional<RecoveredNote> note = bytes ? ParseRecoveryFile(*bytes) : std::nullopt;
        Leftover leftover(path, lockPath, lockFd, note ? *std::move(note) : RecoveredNote());
        if (!note) {
            // Kept under a name of its own, so it never pushes a declined text out.
            const QString setAside = directory.filePath(QStringLiteral("unreadable-") + name);
            if (Rename(path, setAside)) {
                leftover.release();
                unreadable.append(setAside);
            }
            continue;
        }
        found.push_back(std::move(leftover));
    }
    sweepLocksWithoutFiles(directory.entryList({LockPattern}, QDir::Files | QDir::Hidden));
    sweepTemporaryFiles(directory.entryList(TemporaryPatterns, QDir::Files | QDir::Hidden));
}

// A copy that ended with nothing unsaved may still leave its lock file.
void RecoveryFolder::sweepLocksWithoutFiles(const QStringList& lockNames)
{
    for (const QString& name : lockNames) {
        const QString lockPath = QDir(m_directory).filePath(name);
        if (lockPath == m_lockPath || QFileInfo::exists(FilePathFor(lockPath)))
            continue;
        const int fd = TakeLock(lockPath);
        if (fd < 0)
            continue;
        if (!QFileInfo::exists(FilePathFor(lockPath)))
            Unlink(lockPath);
        ::close(fd);
    }
}

// A write cut short leaves its temporary file; one a minute old is no copy's write in progress.
void RecoveryFolder::sweepTemporaryFiles(const QStringList& names)
{
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QString& name : names) {
        const QFileInfo file(QDir(m_directory).filePath(name));
        if (file.lastModified() < stale)
            Unlink(file.filePath());
    }
}


