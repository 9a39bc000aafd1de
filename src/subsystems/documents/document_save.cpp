#include "subsystems/documents/document_save.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "platform/system_error_text.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/disk_change_messages.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/note_storage.h"

#include <QFileInfo>

#include <optional>
#include <utility>

namespace {

// Where a save writes, and what must still be there when it does.
struct SaveTarget
{
    QString path;
    std::optional<QByteArray> expected;
};

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

bool IsTheNotesOwnFile(const DocumentContext& context, const QString& path)
{
    return context.settings.FileName != UntitledFileName && !context.document.DiskFingerprint.isEmpty()
        && IsSameFile(context.settings.FileName, path);
}

// The naming loop of the save dialog: asks until a name passes the extension
// rule, the probe and the overwrite question. The note's own file, changed
// by another program, gets the question about that instead.
std::optional<SaveTarget> ChooseSaveName(DocumentContext& context)
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
        if (!IsTheNotesOwnFile(context, check.path)) {
            if (AllowsReplacing(context.platform, check.path))
                return SaveTarget{check.path, std::nullopt};
            continue;
        }
        const QByteArray onDisk = context.storage.fingerprint(check.path);
        if (!ChangedSince(onDisk, context.document.DiskFingerprint)) {
            if (AllowsReplacing(context.platform, check.path))
                return SaveTarget{check.path, ExpectedOnDisk(context)};
            continue;
        }
        switch (AskReplaceChangedNote(context.platform, check.path)) {
        case MessageAnswer::Yes:
            return SaveTarget{check.path, onDisk};
        case MessageAnswer::No:
            continue;
        default:
            return std::nullopt;
        }
    }
}

// Looks before the new file is even made, so a note changed elsewhere costs
// no write; the storage looks again right before it replaces the note.
ReplaceResult WriteUnlessChanged(NoteStorage& storage, const SaveTarget& target, const QByteArray& bytes)
{
    if (target.expected && ChangedSince(storage.fingerprint(target.path), *target.expected))
        return ReplaceResult::changedElsewhereResult();
    return storage.replace(target.path, bytes, target.expected);
}

// No in the question: Save As, so both texts are kept.
bool SaveUnderAnotherName(DocumentContext& context)
{
    const bool saveAs = std::exchange(context.document.SaveAsFlag, true);
    const bool written = SaveDocument(context, SaveOrigin::User);
    context.document.SaveAsFlag = saveAs;
    return written;
}

EncodedText NoteFileBytes(const QString& text, TextEncoding encoding)
{
    QString content = text;
    if (!content.endsWith(QChar(EndOfFileMarker)))
        content += QChar(EndOfFileMarker);
    return EncodeForSaving(content, encoding);
}

// A longer file would be written but never opened again. The switch to a
// quick file repeats its refusal only when the text has changed since.
void RefuseTooLong(DocumentContext& context, const QString& text, qsizetype size, SaveOrigin origin)
{
    const bool refusedBefore = context.document.RefusedSaveText == text;
    context.document.RefusedSaveText = text;
    if (origin == SaveOrigin::QuickFileSwitch && refusedBefore)
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
    case SaveStep::Check: return QStringLiteral("Reading It Again");
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
    SaveTarget target{context.settings.FileName, ExpectedOnDisk(context)};
    if (target.path == UntitledFileName || context.document.SaveAsFlag) {
        std::optional<SaveTarget> chosen = ChooseSaveName(context);
        if (!chosen)
            return false;
        target = *std::move(chosen);
    }
    if (context.storage.probe(target.path) != 0) {
        ShowReadOnlyTarget(context.platform);
        return false;
    }
    const bool existed = QFileInfo::exists(target.path);
    ReplaceResult result = WriteUnlessChanged(context.storage, target, encoded.bytes);
    while (result.changedElsewhere) {
        if (origin == SaveOrigin::AutoSave) {
            TellAutoSaveSkipped(context);
            return false;
        }
        TellAskedAboutTheChange(context);
        const QByteArray asked = context.storage.fingerprint(target.path);
        switch (AskReplaceChangedNote(context.platform, target.path)) {
        case MessageAnswer::Yes:
            target.expected = asked; // asked again only if it changes once more
            result = WriteUnlessChanged(context.storage, target, encoded.bytes);
            break;
        case MessageAnswer::No:
            return SaveUnderAnotherName(context);
        default:
            return false;
        }
    }
    const bool written = result.error == 0 || result.failedStep == SaveStep::DirectorySync;
    if (!written) {
        // Saying nothing would leave the user believing the note is safe.
        ReportFailedWrite(context.platform, target.path, result, existed);
        return false;
    }
    context.settings.FileName = target.path;
    context.document.DocumentEncoding = encoded.encoding;
    UpdateTitle(context.settings, context.window);
    ClearChangedFlag(context);
    RememberNoteOnDisk(context, NoteFingerprint(encoded.bytes), result.written);
    if (result.error != 0)
        ShowError(context.platform,
                  QStringLiteral("File ") + target.path + QStringLiteral(" Was Written, But Perhaps Not Yet On Disk (")
                      + SystemErrorText(result.error) + QStringLiteral(")."),
                  QStringLiteral("Save"));
    return true;
}

void AutoSaveDocument(DocumentContext& context)
{
    context.document.SaveAsFlag = false;
    // Writing an unchanged note every interval would make sync clients send
    // it each time, and turn an edit on another device into a conflict.
    if (context.settings.FileName != UntitledFileName && !IsDocumentChanged(context)) {
        FollowNoteOnDisk(context, DiskLook::BytesAlways);
        return;
    }
    SaveDocument(context, SaveOrigin::AutoSave);
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
