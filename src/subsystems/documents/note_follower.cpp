#include "subsystems/documents/note_follower.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/documents/disk_change_messages.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/note_storage.h"

#include <QEvent>

#include <utility>

NoteFollower::NoteFollower(DocumentContext context)
    : m_context(context)
{
    m_context.follower = this;
    m_context.editor.installEventFilter(this);
    if (m_context.editor.window() != &m_context.editor)
        m_context.editor.window()->installEventFilter(this);
}

NoteFollower::~NoteFollower()
{
    m_context.editor.removeEventFilter(this);
    m_context.editor.window()->removeEventFilter(this);
}

void NoteFollower::follow()
{
    const QString& path = m_context.settings.FileName;
    const QString wanted = path == UntitledFileName ? QString() : path;
    if (wanted == m_watchedPath && (m_watch || wanted.isEmpty()))
        return;
    m_watch.reset();
    m_watchedPath = wanted;
    if (!wanted.isEmpty())
        m_watch = m_context.storage.watch(wanted, [this] { changedOnDisk(); });
}

// Each notification starts the wait again, so a file written in pieces is
// read once it is whole; one that keeps changing is read all the same.
void NoteFollower::changedOnDisk()
{
    if (!m_gather)
        m_gather = m_context.platform.makeSingleShotTimer([this] { gathered(); });
    const std::int64_t now = m_context.platform.monotonicMilliseconds();
    if (!m_gather->isActive())
        m_firstNotification = now;
    if (now - m_firstNotification < GatherLimitMilliseconds)
        m_gather->start(GatherMilliseconds);
}

// A command waiting on a dialog may hold the text it is about to save: the
// note is read again when the window is active again with no dialog open.
void NoteFollower::gathered()
{
    m_followAfterDialog = m_context.platform.modalDialogOpen();
    if (!m_followAfterDialog)
        FollowNoteOnDisk(m_context, DiskLook::IdentityFirst);
}

void NoteFollower::tellSoon()
{
    if (!m_quiet)
        m_quiet = m_context.platform.makeSingleShotTimer([this] { tell(); });
    m_quiet->start(QuietMilliseconds);
}

void NoteFollower::tell()
{
    DocumentState& document = m_context.document;
    if (document.ChangedElsewhereNotice != DocumentState::SkipNotice::Pending)
        return;
    m_tellAfterDialog = m_context.platform.modalDialogOpen();
    if (m_tellAfterDialog)
        return;
    document.ChangedElsewhereNotice = DocumentState::SkipNotice::Given;
    TellAutoSaveDidNotReplace(m_context.platform, m_context.settings.FileName);
}

bool NoteFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_quiet && m_quiet->isActive())
        m_quiet->start(QuietMilliseconds);
    if (event->type() == QEvent::WindowActivate && !m_context.platform.modalDialogOpen()) {
        if (std::exchange(m_followAfterDialog, false))
            FollowNoteOnDisk(m_context, DiskLook::IdentityFirst);
        if (std::exchange(m_tellAfterDialog, false))
            tellSoon();
    }
    return QObject::eventFilter(watched, event);
}
