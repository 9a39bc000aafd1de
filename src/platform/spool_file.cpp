#include "platform/spool_file.h"

#include "platform/file_identity.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString NamePrefix = QStringLiteral("/scriblet-print-");

bool DayOld(const QByteArray& path)
{
    struct stat named {};
    return ::lstat(path.constData(), &named) == 0 && named.st_mtime < std::time(nullptr) - 24 * 60 * 60;
}

} // namespace

SpoolFile::SpoolFile()
{
    // A name lost to a sweep before it was locked is given up for another.
    for (int attempt = 0; attempt < 10 && m_fd < 0; ++attempt) {
        QByteArray path = QFile::encodeName(QDir::tempPath() + NamePrefix + QStringLiteral("XXXXXX"));
        const int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0)
            return;
        // Where the folder takes no locks (NFS without a lock daemon) the file
        // goes unlocked: a sweep that cannot lock it leaves it a day.
        if ((::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) && NameLeadsToOpenFile(fd, path)) {
            m_fd = fd;
            m_path = QFile::decodeName(path);
        } else {
            ::close(fd);
        }
    }
}

SpoolFile::~SpoolFile()
{
    if (m_fd < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

void SweepSpoolFiles()
{
    const QString folder = QDir::tempPath();
    // Only names mkostemp gives: the user's own "Scriblet-print-report" stays.
    static const QRegularExpression ours(QStringLiteral("^scriblet-print-[A-Za-z0-9]{6}$"));
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : names.filter(ours)) {
        const QByteArray path = QFile::encodeName(folder + u'/' + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        const int lockError = fd < 0 ? errno : ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
        // Removed only under its lock: a copy that has made it but not locked
        // it yet then finds its name gone, and makes another.
        if (lockError == 0 ? NameLeadsToOpenFile(fd, path) : lockError != EWOULDBLOCK && DayOld(path))
            ::unlink(path.constData());
        if (fd >= 0)
            ::close(fd);
    }
}
