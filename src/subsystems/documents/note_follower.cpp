#include "subsystems/documents/note_follower.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/documents/disk_change_messages.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/note_storage.h"

#include <QEvent>

NoteFollower::NoteFollower(DocumentContext context)
    : m_context(context)
{
    m_context.follower = this;
    m_context.editor.installEventFilter(this);
}

NoteFollower::~NoteFollower() { m_context.editor.removeEventFilter(this); }

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

void NoteFollower::changedOnDisk()
{
    if (!m_gather)
        m_gather = m_context.platform.makeSingleShotTimer([this] { gathered(); });
    if (!m_gather->isActive())
        m_gather->start(GatherMilliseconds);
}

// A command waiting on a dialog may hold the text it is about to save: the
// note is read again only once no dialog is open.
void NoteFollower::gathered()
{
    if (m_context.platform.modalDialogOpen())
        m_gather->start(WhileDialogOpenMilliseconds);
    else
        FollowNoteOnDisk(m_context);
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
    if (m_context.platform.modalDialogOpen()) {
        m_quiet->start(QuietMilliseconds);
        return;
    }
    document.ChangedElsewhereNotice = DocumentState::SkipNotice::Given;
    TellAutoSaveDidNotReplace(m_context.platform, m_context.settings.FileName);
}

bool NoteFollower::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_quiet && m_quiet->isActive())
        m_quiet->start(QuietMilliseconds);
    return QObject::eventFilter(watched, event);
}
