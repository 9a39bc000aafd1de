#include "subsystems/editing/edit_commands.h"

#include "platform/editor_control.h"
#include "platform/platform.h"

void EditorUndo(EditorControl& editor) { editor.undo(); }

namespace {

// Other programs on the desktop expect plain line feeds on the clipboard.
bool CopySelection(const EditorControl& editor, Platform& platform)
{
    return editor.selectionLength() > 0 && platform.setClipboardText(ToLineFeeds(editor.selectedText()));
}

} // namespace

void EditorCut(EditorControl& editor, Platform& platform)
{
    // The text leaves the editor only once the clipboard holds it.
    if (CopySelection(editor, platform))
        editor.deleteSelection();
}

void EditorCopy(EditorControl& editor, Platform& platform) { CopySelection(editor, platform); }

void EditorPaste(EditorControl& editor, Platform& platform)
{
    const QString text = platform.clipboardText();
    if (!text.isEmpty())
        editor.replaceSelection(text);
}

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
