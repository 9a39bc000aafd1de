#include "subsystems/documents/document_state.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "settings/text_encoding.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/file_errors.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_on_disk.h"
#include "subsystems/documents/note_storage.h"

bool IsDocumentChanged(const DocumentContext& context) { return context.editor.isModified(); }

void ClearChangedFlag(DocumentContext& context) { context.editor.setModified(false); }

void PlaceCaretBeforeLastCharacter(DocumentContext& context)
{
    const int length = context.editor.textLength();
    if (length > 0)
        context.editor.setSelectionStart(length - 1);
}

void PutNoteText(DocumentContext& context, const QByteArray& bytes)
{
    DecodedText decoded = DecodeText(bytes);
    if (decoded.text.endsWith(QChar(EndOfFileMarker)))
        decoded.text.chop(1);
    context.editor.setText(decoded.text);
    context.document.DocumentEncoding = decoded.encoding;
}

ReadAttempt ReadNoteFile(DocumentContext& context, const QString& path, bool createMissing)
{
    const NoteReadResult read = context.storage.read(path, NoteFileSizeLimit, createMissing);
    if (read.error != 0)
        return {ReadOutcome::Failed, read.error};
    if (read.tooLarge) {
        ShowError(context.platform, QStringLiteral("File ") + path + QStringLiteral(" Is Too Large To Use.")
                                        + QStringLiteral("  Please Select Another File Or Start A New One."));
        return {ReadOutcome::TooLarge, 0};
    }
    PutNoteText(context, read.bytes);
    context.settings.FileName = path;
    ClearChangedFlag(context);
    RememberNoteOnDisk(context, NoteFingerprint(read.bytes), read.identity);
    return {ReadOutcome::Loaded, 0};
}

ReadOutcome LoadNoteFile(DocumentContext& context, QString path, bool createMissing)
{
    for (;;) {
        const ReadAttempt attempt = ReadNoteFile(context, path, createMissing);
        if (attempt.outcome != ReadOutcome::Failed)
            return attempt.outcome;
        const std::optional<QString> entered = ReportFileError(context.platform, attempt.error);
        if (!entered)
            return ReadOutcome::Failed;
        path = *entered;
    }
}
