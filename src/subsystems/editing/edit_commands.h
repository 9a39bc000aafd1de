#pragma once

class EditorControl;
class Platform;

// The editor's own edit operations, as the Edit menu and the insertion
// commands use them. Cut, Copy and Paste go through the platform's clipboard.
void EditorUndo(EditorControl& editor);
// With nothing selected, Cut and Copy leave the clipboard as it was.
void EditorCut(EditorControl& editor, Platform& platform);
void EditorCopy(EditorControl& editor, Platform& platform);
// Replaces the selection by the clipboard's text; an empty clipboard changes nothing.
void EditorPaste(EditorControl& editor, Platform& platform);
void EditorClear(EditorControl& editor);
void SetEditorModified(EditorControl& editor);

// Edit > Select All: selects the whole text.
void EditSelectAll(EditorControl& editor);

// Edit > Delete All: deletes the whole text and marks the document changed;
// an empty editor is left as it is.
void EditDeleteAll(EditorControl& editor);
