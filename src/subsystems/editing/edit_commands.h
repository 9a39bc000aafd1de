#pragma once

class EditorControl;

// The editor's own edit operations, as the Edit menu and the insertion
// commands use them.
void EditorUndo(EditorControl& editor);
void EditorCut(EditorControl& editor);
void EditorCopy(EditorControl& editor);
void EditorPaste(EditorControl& editor);
void EditorClear(EditorControl& editor);
void SetEditorModified(EditorControl& editor);

// Edit > Select All: selects the whole text.
void EditSelectAll(EditorControl& editor);

// Edit > Delete All: deletes the whole text and marks the document changed;
// an empty editor is left as it is.
void EditDeleteAll(EditorControl& editor);
