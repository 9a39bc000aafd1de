#include "subsystems/documents/note_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace {

// What is done to the file itself, or by name in a folder, that may change what the note holds.
constexpr uint32_t FileEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
constexpr uint32_t FolderEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

class InotifyWatch : public NoteWatch
{
public:
    InotifyWatch(int fd, QString path, std::function<void()> changed)
        : m_fd(fd)
        , m_path(std::move(path))
        , m_changed(std::move(changed))
        , m_notifier(fd, QSocketNotifier::Read)
    {
        arm();
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { readEvents(); });
    }
    ~InotifyWatch() override
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }
    InotifyWatch(const InotifyWatch&) = delete;
    InotifyWatch& operator=(const InotifyWatch&) = delete;

private:
    // A watch on a file ends when the file is renamed over or removed, and a
    // link may lead elsewhere now: every watch is set again after a change,
    // and one on a file or folder that is no longer the note's is ended, so
    // a file moved aside is not followed.
    void arm()
    {
        const QFileInfo link(m_path);
        const QFileInfo target(!link.isSymLink() ? link.absoluteFilePath()
                               : link.exists()     ? link.canonicalFilePath()
                                                   : link.symLinkTarget());
        m_names = {QFile::encodeName(link.fileName()), QFile::encodeName(target.fileName())};
        QList<int> watches{add(target.absoluteFilePath(), FileEvents),
                           add(target.absolutePath(), FolderEvents | IN_ONLYDIR)};
        if (link.isSymLink())
            watches.append(add(link.absolutePath(), FolderEvents | IN_ONLYDIR));
        for (const int old : std::as_const(m_watches)) {
            if (!watches.contains(old))
                ::inotify_rm_watch(m_fd, old);
        }
        m_watches = watches;
    }

    // A file that is missing now is seen through its folder when it comes back.
    int add(const QString& path, uint32_t events)
    {
        return ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), events);
    }

    void readEvents()
    {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        bool relevant = false;
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                // The file's own events carry no name; a folder's name the file they concern.
                const QByteArray name = event->len ? QByteArray(event->name) : QByteArray();
                if ((event->mask & IN_IGNORED) == 0 && (name.isEmpty() || m_names.contains(name)))
                    relevant = true;
            }
        }
        if (!relevant)
            return;
        arm();
        m_changed();
    }

    int m_fd;
    QString m_path;
    std::function<void()> m_changed;
    QSocketNotifier m_notifier;
    QList<QByteArray> m_names;
    QList<int> m_watches;
};

} // namespace

std::unique_ptr<NoteWatch> WatchNoteFile(const QString& path, std::function<void()> changed)
{
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<InotifyWatch>(fd, path, std::move(changed));
}
