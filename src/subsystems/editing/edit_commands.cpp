#include "subsystems/editing/edit_commands.h"

#include "platform/editor_control.h"

void EditorUndo(EditorControl& editor) { editor.undo(); }

void EditorCut(EditorControl& editor) { editor.cut(); }

void EditorCopy(EditorControl& editor) { editor.copy(); }

void EditorPaste(EditorControl& editor) { editor.paste(); }

void EditorClear(EditorControl& editor) { editor.deleteSelection(); }

void SetEditorModified(EditorControl& editor) { editor.setModified(true); }

void EditSelectAll(EditorControl& editor)
{
    editor.setSelectionStart(0);
    editor.setSelectionLength(editor.textLength());
}

void EditDeleteAll(EditorControl& editor)
{
    if (editor.textLength() == 0)
        return;
    EditSelectAll(editor);
    EditorClear(editor);
    SetEditorModified(editor);
}
