#include "subsystems/documents/document_open.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/file_errors.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/save_changes.h"

#include <QDir>
#include <QFileInfo>

namespace {

void StartUntitled(DocumentContext& context)
{
    context.editor.setText(QString());
    context.settings.FileName = UntitledFileName;
    context.document.DocumentEncoding = TextEncoding::Utf8;
    ForgetNoteOnDisk(context);
}

// Checks and reads a name chosen to open; a name entered after a load error
// goes through the same checks, so "Try again" never opens what Open would refuse.
bool OpenChosenFile(DocumentContext& context, QString path)
{
    for (;;) {
        const ExtensionCheck check = CheckNoteFileExtension(path);
        if (!check.accepted) {
            ShowExtensionRefusal(context.platform);
            return false;
        }
        const QFileInfo file(check.path);
        if (!file.exists() || file.size() == 0) {
            ShowError(context.platform, QStringLiteral("File: ") + check.path + QStringLiteral(" Not Found Or Empty"));
            return false;
        }
        const ReadAttempt attempt = ReadNoteFile(context, check.path, false);
        if (attempt.outcome != ReadOutcome::Failed)
            return attempt.outcome == ReadOutcome::Loaded;
        const std::optional<QString> entered = ReportFileError(context.platform, attempt.error);
        if (!entered)
            return false;
        path = *entered;
    }
}

} // namespace

void FileOpen(DocumentContext& context)
{
    if (!GuardUnsavedChanges(context))
        return;
    const std::optional<QString> chosen = context.platform.chooseFileToOpen(NoteFileFilter);
    if (!chosen)
        return;
    const bool loaded = OpenChosenFile(context, *chosen);
    context.editor.setFocus();
    if (!loaded)
        return;
    PlaceCaretBeforeLastCharacter(context);
    UpdateTitle(context.settings, context.window);
}

void LoadStartupDocument(DocumentContext& context)
{
    const QString path = context.settings.FileName;
    // No note to load: the command line's name was unusable (and said so), or
    // there is no program directory for the default note.
    if (path.isEmpty() || path == UntitledFileName) {
        StartUntitled(context);
        return;
    }
    const QFileInfo file(path);
    // A missing note in an existing directory, or an empty one, is reported as
    // not found; nothing is created on disk for it.
    const bool directoryExists = file.absoluteDir().exists();
    if (directoryExists && (!file.exists() || (file.isFile() && file.size() == 0))) {
        ShowError(context.platform, QStringLiteral("File: ") + path + QStringLiteral(" Not Found"));
        StartUntitled(context);
        return;
    }
    if (LoadNoteFile(context, path, false) != ReadOutcome::Loaded)
        StartUntitled(context);
}
