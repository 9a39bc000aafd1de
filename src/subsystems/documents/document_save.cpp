#include "subsystems/documents/document_save.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "platform/system_error_text.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_storage.h"

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

EncodedText NoteFileBytes(const QString& text, TextEncoding encoding)
{
    QString content = text;
    if (!content.endsWith(QChar(EndOfFileMarker)))
        content += QChar(EndOfFileMarker);
    return EncodeForSaving(content, encoding);
}

// A longer file would be written but never opened again. A save nobody asked
// for repeats its refusal only when the text has changed since.
void RefuseTooLong(DocumentContext& context, const QString& text, qsizetype size, SaveOrigin origin)
{
    const bool refusedBefore = context.document.RefusedSaveText == text;
    context.document.RefusedSaveText = text;
    if (origin == SaveOrigin::Automatic && refusedBefore)
        return;
    ShowError(context.platform,
              QStringLiteral("This Note Would Take %1 Bytes On Disk, But A Note File Holds At Most %2 Bytes.")
                      .arg(size)
                      .arg(NoteFileSizeLimit)
                  + QStringLiteral("  Please Shorten The Note Before Saving It.  Nothing Was Written."),
              QStringLiteral("Note Too Long"));
}

QString StepName(SaveStep step)
{
    switch (step) {
    case SaveStep::Open: return QStringLiteral("Opening");
    case SaveStep::ChangeOwner: return QStringLiteral("Giving It Its Owner");
    case SaveStep::ChangeMode: return QStringLiteral("Setting Its Permissions");
    case SaveStep::CopyAttributes: return QStringLiteral("Copying Its Attributes");
    case SaveStep::Write: return QStringLiteral("Writing");
    case SaveStep::Sync: return QStringLiteral("Flushing It To Disk");
    case SaveStep::Close: return QStringLiteral("Closing");
    case SaveStep::Rename: return QStringLiteral("Putting It In Place");
    case SaveStep::DirectorySync: return QStringLiteral("Flushing Its Folder To Disk");
    case SaveStep::Copy: return QStringLiteral("Copying Its Old Content Aside");
    }
    return {};
}

void ReportFailedWrite(Platform& platform, const QString& path, const ReplaceResult& result, bool existed)
{
    QString text = QStringLiteral("File ") + path + QStringLiteral(" Could Not Be Written (") + StepName(result.failedStep)
        + QStringLiteral(": ") + SystemErrorText(result.error) + QStringLiteral(").");
    if (!result.keptCopy.isEmpty())
        text += QStringLiteral("  Its Previous Content Is Kept In ") + result.keptCopy + u'.';
    else if (existed)
        text += QStringLiteral("  The Copy On Disk Is Unchanged.");
    ShowError(platform, text, QStringLiteral("Save Failed"));
}

} // namespace

bool SaveDocument(DocumentContext& context, SaveOrigin origin)
{
    const QString text = context.editor.text();
    const EncodedText encoded = NoteFileBytes(text, context.document.DocumentEncoding);
    if (encoded.bytes.size() > NoteFileSizeLimit) {
        RefuseTooLong(context, text, encoded.bytes.size(), origin);
        return false;
    }
    // The document takes a new name only once the note is written under it.
    QString path = context.settings.FileName;
    if (path == UntitledFileName || context.document.SaveAsFlag) {
        const std::optional<QString> chosen = ChooseSaveName(context);
        if (!chosen)
            return false;
        path = *chosen;
    }
    if (context.storage.probe(path) != 0) {
        ShowReadOnlyTarget(context.platform);
        return false;
    }
    const bool existed = QFileInfo::exists(path);
    const ReplaceResult result = context.storage.replace(path, encoded.bytes);
    const bool written = result.error == 0 || result.failedStep == SaveStep::DirectorySync;
    if (!written) {
        // Saying nothing would leave the user believing the note is safe.
        ReportFailedWrite(context.platform, path, result, existed);
        return false;
    }
    context.settings.FileName = path;
    context.document.DocumentEncoding = encoded.encoding;
    UpdateTitle(context.settings, context.window);
    ClearChangedFlag(context);
    if (result.error != 0)
        ShowError(context.platform,
                  QStringLiteral("File ") + path + QStringLiteral(" Was Written, But Perhaps Not Yet On Disk (")
                      + SystemErrorText(result.error) + QStringLiteral(")."),
                  QStringLiteral("Save"));
    return true;
}

void FileSave(DocumentContext& context)
{
    context.document.SaveAsFlag = false;
    SaveDocument(context);
}

void FileSaveAs(DocumentContext& context)
{
    context.document.SaveAsFlag = true;
    SaveDocument(context);
    context.document.SaveAsFlag = false;
    context.editor.setFocus();
}
