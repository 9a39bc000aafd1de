#include "subsystems/documents/recovery_offer.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_open.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/documents/recovery_keeper.h"
#include "subsystems/documents/recovery_store.h"
#include "subsystems/documents/save_changes.h"

namespace {

MessageAnswer AskToRestore(Platform& platform, const RecoveredNote& note)
{
    const QString which = note.notePath.isEmpty() ? QStringLiteral("An Untitled Note")
                                                  : QStringLiteral("The Note ") + note.notePath;
    const QString when = platform.locale().toString(note.keptAt.toLocalTime(), QLocale::ShortFormat);
    return platform.showMessage({QStringLiteral("Scriblet Ended Without Closing While ") + which
                                     + QStringLiteral(" Had Unsaved Changes.  Do You Want To Restore The Unsaved Text, As It Was At ")
                                     + when + QStringLiteral(" ?"),
                                 QStringLiteral("Unsaved Text Found"), MessageIcon::Question, MessageButtons::YesNo,
                                 MessageAnswer::Yes});
}

// The recovered text becomes the document, changed, so a save writes it
// where it belongs; the note is taken to hold what it held when the text was
// kept, so a save asks if it has changed since. This copy keeps the text
// before the left-behind file goes.
void Restore(DocumentContext& context, RecoveryKeeper& keeper, Leftover& leftover)
{
    const RecoveredNote& note = leftover.note();
    context.editor.setText(note.text);
    context.settings.FileName = note.notePath.isEmpty() ? UntitledFileName : note.notePath;
    context.document.DocumentEncoding = note.encoding;
    context.editor.setModified(true);
    RememberNoteOnDisk(context, note.diskFingerprint, {});
    UpdateTitle(context.settings, context.window);
    if (keeper.keepNow(RecoveryKeeper::NoticeBy::MessageBox))
        leftover.remove();
}

// Named, so the user can look into what it holds.
void TellSetAsideUnreadable(Platform& platform, const QString& path)
{
    const QString text = QStringLiteral("A File Of Unsaved Text Left By Scriblet Could Not Be Read, So It Was Set Aside As ");
    platform.showMessage({text + path + u'.', QStringLiteral("Unreadable Unsaved Text"), MessageIcon::Information,
                          MessageButtons::Ok, MessageAnswer::Ok});
}

enum class Decision { Restored, SetAside, Left };

Decision Offer(DocumentContext& context, RecoveryKeeper& keeper, Leftover& leftover, bool replacesDocument)
{
    switch (AskToRestore(context.platform, leftover.note())) {
    case MessageAnswer::Yes:
        if (replacesDocument && !GuardUnsavedChanges(context))
            return Decision::Left;
        Restore(context, keeper, leftover);
        return Decision::Restored;
    case MessageAnswer::No:
        leftover.setAside();
        return Decision::SetAside;
    default:
        return Decision::Left; // the process is ending: asked again next time
    }
}

} // namespace

void LoadStartupDocumentOfferingRecovery(DocumentContext& context, RecoveryKeeper& keeper, RecoveryStore& store,
                                         bool commandLineNamedDocument)
{
    std::vector<Leftover> leftovers = store.claimLeftovers();
    auto next = leftovers.begin();
    bool restored = false;
    if (!commandLineNamedDocument) {
        while (next != leftovers.end() && !restored)
            restored = Offer(context, keeper, *next++, false) == Decision::Restored;
    }
    if (!restored)
        LoadStartupDocument(context);
    for (; next != leftovers.end(); ++next)
        Offer(context, keeper, *next, true);
    for (const QString& path : store.unreadableSetAside())
        TellSetAsideUnreadable(context.platform, path);
}
