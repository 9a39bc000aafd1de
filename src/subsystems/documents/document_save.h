#pragma once

struct DocumentContext;

// Who wants the save: the user (a command, the save-changes question), the
// switch to a quick file, or auto save. The switch repeats no refusal of a
// note too long for the same text; auto save never replaces a note another
// program changed, where the others ask.
enum class SaveOrigin { User, QuickFileSwitch, AutoSave };

// Writes the current document to its file, asking for a name first when it is
// untitled or SaveAsFlag is on. Returns whether the file was written: a
// cancelled dialog, a refused target, a note too long for a note file, a
// failed write or a note changed elsewhere that is not to be replaced all
// leave the file, the name and the changed flag as they were and return
// false. When the note was changed by another program since it was read or
// written, the user is asked first: replace it, save under another name
// (true once that is written), or write nothing.
bool SaveDocument(DocumentContext& context, SaveOrigin origin = SaveOrigin::User);

// Auto save's moment: saves an edited or untitled note. A named note without
// unsaved changes is not written again; it follows what is on disk instead.
void AutoSaveDocument(DocumentContext& context);

// File > Save.
void FileSave(DocumentContext& context);

// File > Save As...
void FileSaveAs(DocumentContext& context);
