#include "document/document_save.h"

#include "app/app_state.h"
#include "document/document_context.h"
#include "document/document_state.h"
#include "document/document_title.h"
#include "document/note_file_name.h"
#include "document/note_storage.h"
#include "ui/editor_control.h"
#include "ui/platform.h"

#include <QFileInfo>

#include <optional>

namespace {

void ShowReadOnlyTarget(Platform& platform)
{
    ShowError(platform,
              QStringLiteral("The Target Is A Read-Only Medium Such As A CD-ROM Or Write-protected Floppy Disk.  Please ")
                  + QStringLiteral("Select Another Location To Store The File."),
              QStringLiteral("Read-Only Target"));
}

bool AllowsReplacing(Platform& platform, const QString& path)
{
    const QFileInfo existing(path);
    if (!existing.exists() || existing.size() == 0)
        return true;
    const MessageAnswer answer = platform.showMessage(
        {QStringLiteral("Do You Want To Replace The Existing ") + path + QStringLiteral(" ?"),
         QStringLiteral("File Already Exists"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No});
    return answer == MessageAnswer::Yes;
}

// The naming loop of the save dialog: asks until a name passes the extension
// rule, the probe and the overwrite question.
std::optional<QString> ChooseSaveName(DocumentContext& context)
{
    for (;;) {
        const std::optional<QString> chosen = context.platform.chooseFileToSave(NoteFileFilter);
        if (!chosen)
            return std::nullopt;
        const ExtensionCheck check = CheckNoteFileExtension(*chosen);
        if (!check.accepted) {
            ShowExtensionRefusal(context.platform);
            continue;
        }
        if (context.storage.probe(check.path) != 0) {
            ShowReadOnlyTarget(context.platform);
            return std::nullopt;
        }
        if (AllowsReplacing(context.platform, check.path))
            return check.path;
    }
}

QByteArray NoteFileBytes(const QString& text, TextEncoding encoding)
{
    QString content = text;
    if (!content.endsWith(QChar(EndOfFileMarker)))
        content += QChar(EndOfFileMarker);
    return EncodeKeepingEncoding(content, encoding);
}

} // namespace

bool SaveDocument(DocumentContext& context)
{
    AppState& state = context.state;
    if (state.settings.FileName == UntitledFileName || state.SaveAsFlag) {
        const std::optional<QString> chosen = ChooseSaveName(context);
        if (!chosen)
            return false;
        state.settings.FileName = *chosen;
    }
    const QString& path = state.settings.FileName;
    if (context.storage.probe(path) != 0) {
        ShowReadOnlyTarget(context.platform);
        return false;
    }
    const QString text = context.editor.text();
    const QByteArray bytes = NoteFileBytes(text, state.DocumentEncoding);
    const bool hadCopy = QFileInfo::exists(path);
    if (context.storage.replace(path, bytes) != 0) {
        // Saying nothing would leave the user believing the note is safe.
        ShowError(context.platform,
                  QStringLiteral("File ") + path + QStringLiteral(" Could Not Be Written.")
                      + (hadCopy ? QStringLiteral("  The Copy On Disk Is Unchanged.") : QString()),
                  QStringLiteral("Save Failed"));
        return false;
    }
    if (!EncodeText(text, state.DocumentEncoding))
        state.DocumentEncoding = TextEncoding::Utf8;
    UpdateTitle(state.settings, context.window);
    ClearChangedFlag(context);
    return true;
}

void FileSave(DocumentContext& context)
{
    context.state.SaveAsFlag = false;
    SaveDocument(context);
}

void FileSaveAs(DocumentContext& context)
{
    context.state.SaveAsFlag = true;
    SaveDocument(context);
    context.state.SaveAsFlag = false;
    context.editor.setFocus();
}
