#pragma once

#include <QString>

struct DocumentContext;

bool IsDocumentChanged(const DocumentContext& context);
void ClearChangedFlag(DocumentContext& context);

// Puts the caret before the last character of the text, nothing selected.
void PlaceCaretBeforeLastCharacter(DocumentContext& context);

#include <QByteArray>

// Puts a note file's bytes into the editor as its whole text, one end-of-file
// byte at the end dropped, and takes the note's encoding; the changed flag
// is left clear and undo starts afresh.
void PutNoteText(DocumentContext& context, const QByteArray& bytes);

enum class ReadOutcome { Loaded, TooLarge, Failed };

struct ReadAttempt
{
    ReadOutcome outcome = ReadOutcome::Failed;
    int error = 0; // errno when the outcome is Failed
};

// Reads a note file into the editor: refuses (with its message) a file over
// the size limit, drops one end-of-file byte at the end, makes the file the
// current document and clears the changed flag. A missing file is created
// empty when createMissing is set.
ReadAttempt ReadNoteFile(DocumentContext& context, const QString& path, bool createMissing);

// ReadNoteFile, with a failure reported through the file error table; a name
// entered there is tried next. Returns how the last try ended.
ReadOutcome LoadNoteFile(DocumentContext& context, QString path, bool createMissing);
