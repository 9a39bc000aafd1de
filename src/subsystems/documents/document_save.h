#pragma once

struct DocumentContext;

// Who wants the save: the user (a command, the save-changes question), or the
// program on its own (the save before a quick-file switch, auto save).
enum class SaveOrigin { User, Automatic };

// Writes the current document to its file, asking for a name first when it is
// untitled or SaveAsFlag is on. Returns whether the file was written: a
// cancelled dialog, a refused target, a note too long for a note file or a
// failed write all leave the file, the name and the changed flag as they were
// and return false.
bool SaveDocument(DocumentContext& context, SaveOrigin origin = SaveOrigin::User);

// File > Save.
void FileSave(DocumentContext& context);

// File > Save As...
void FileSaveAs(DocumentContext& context);
