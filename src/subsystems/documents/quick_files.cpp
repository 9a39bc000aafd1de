#include "subsystems/documents/quick_files.h"

#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_file_name.h"

#include <QDir>
#include <QFileInfo>

QString QuickFilePath(const DocumentContext& context, int index)
{
    switch (index) {
    case 0:
        return context.settings.File1;
    case 1:
        return context.settings.File2;
    case 2:
        return context.settings.File3;
    case 3:
        return ProgramFilePath(context.document.ProgramDirectory, QStringLiteral("ADDRESS.SCB"));
    default:
        return ProgramFilePath(context.document.ProgramDirectory, QStringLiteral("TODO.SCB"));
    }
}

void LoadQuickFile(DocumentContext& context, const QString& path)
{
    context.document.SaveAsFlag = false;
    // A named note without unsaved changes is on disk as it stands: writing
    // it again would only make sync clients send it once more.
    const bool unchangedNote = context.settings.FileName != UntitledFileName && !IsDocumentChanged(context);
    if (!unchangedNote && !SaveDocument(context, SaveOrigin::QuickFileSwitch) && IsDocumentChanged(context))
        return;
    // The address and to-do files live in the program directory, made when first needed.
    if (QFileInfo(path).absolutePath() == QFileInfo(context.document.ProgramDirectory).absoluteFilePath())
        QDir().mkpath(context.document.ProgramDirectory);
    const bool loaded = LoadNoteFile(context, path, true) == ReadOutcome::Loaded;
    context.editor.setFocus();
    if (!loaded)
        return;
    PlaceCaretBeforeLastCharacter(context);
    UpdateTitle(context.settings, context.window);
}
