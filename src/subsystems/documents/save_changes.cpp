#include "subsystems/documents/save_changes.h"

#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_on_disk.h"

MessageAnswer AskSaveChanges(Platform& platform)
{
    return platform.showMessage({QStringLiteral("Do You Want To Save Changes?"), QStringLiteral("File Has Changed"),
                                 MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::Yes});
}

bool GuardUnsavedChanges(DocumentContext& context)
{
    if (!IsDocumentChanged(context))
        return true;
    switch (AskSaveChanges(context.platform)) {
    case MessageAnswer::Yes:
        context.document.SaveAsFlag = false;
        return SaveDocument(context);
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void FileNew(DocumentContext& context)
{
    if (!GuardUnsavedChanges(context))
        return;
    context.editor.setText(QString());
    ClearChangedFlag(context);
    context.settings.FileName = UntitledFileName;
    context.document.DocumentEncoding = TextEncoding::Utf8;
    ForgetNoteOnDisk(context);
    UpdateTitle(context.settings, context.window);
}
