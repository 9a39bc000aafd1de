#include "subsystems/documents/note_on_disk.h"

#include "platform/editor_control.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/document_state.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_follower.h"
#include "subsystems/documents/note_storage.h"

#include <QScrollBar>

#include <algorithm>

void RememberNoteOnDisk(DocumentContext& context, const QByteArray& fingerprint, const NoteIdentity& identity)
{
    context.document.DiskFingerprint = fingerprint;
    context.document.DiskIdentity = identity;
    context.document.ChangedElsewhereNotice = DocumentState::SkipNotice::None;
    if (context.follower)
        context.follower->follow();
}

void ForgetNoteOnDisk(DocumentContext& context) { RememberNoteOnDisk(context, {}, {}); }

std::optional<QByteArray> ExpectedOnDisk(const DocumentContext& context)
{
    if (context.document.DiskFingerprint.isEmpty())
        return std::nullopt;
    return context.document.DiskFingerprint;
}

void TellAutoSaveSkipped(DocumentContext& context)
{
    if (context.document.ChangedElsewhereNotice != DocumentState::SkipNotice::None)
        return;
    context.document.ChangedElsewhereNotice = DocumentState::SkipNotice::Pending;
    if (context.follower)
        context.follower->tellSoon();
}

void TellAskedAboutTheChange(DocumentContext& context)
{
    if (context.document.ChangedElsewhereNotice == DocumentState::SkipNotice::Pending)
        context.document.ChangedElsewhereNotice = DocumentState::SkipNotice::Given;
}

void FollowNoteOnDisk(DocumentContext& context, DiskLook look)
{
    const QString path = context.settings.FileName;
    DocumentState& document = context.document;
    if (path == UntitledFileName || document.DiskFingerprint.isEmpty())
        return;
    if (look == DiskLook::IdentityFirst && context.storage.look(path) == document.DiskIdentity)
        return;
    const NoteReadResult read = context.storage.readAsItIs(path, NoteFileSizeLimit);
    if (read.error != 0 || read.tooLarge || read.bytes.isEmpty())
        return;
    const QByteArray fingerprint = NoteFingerprint(read.bytes);
    if (fingerprint == document.DiskFingerprint) {
        // Touched, or written back the same: there is nothing to tell any more.
        document.DiskIdentity = read.identity;
        if (document.ChangedElsewhereNotice == DocumentState::SkipNotice::Pending)
            document.ChangedElsewhereNotice = DocumentState::SkipNotice::None;
        return;
    }
    if (IsDocumentChanged(context))
        return;
    EditorControl& editor = context.editor;
    const int caret = editor.selectionStart();
    const int line = editor.lineFromChar(caret);
    const int column = caret - editor.charFromLine(line);
    const int firstLine = editor.verticalScrollBar()->value();
    PutNoteText(context, read.bytes);
    // The caret keeps its line and column, as far as the new text has them.
    const int newLine = std::min(line, editor.lineCount() - 1);
    const int nextLine = editor.charFromLine(newLine + 1);
    const int lineEnd = nextLine < 0 ? editor.textLength() : nextLine - 2;
    editor.setSelectionStart(std::min(editor.charFromLine(newLine) + column, lineEnd));
    editor.verticalScrollBar()->setValue(firstLine);
    RememberNoteOnDisk(context, fingerprint, read.identity);
    UpdateTitle(context.settings, context.window);
}
