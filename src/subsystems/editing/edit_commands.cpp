#include "subsystems/editing/edit_commands.h"

#include "platform/editor_control.h"
#include "platform/platform.h"

void EditorUndo(EditorControl& editor) { editor.undo(); }

namespace {

// The clipboard gets plain text as other programs on the desktop expect it:
// line feeds for line breaks, plain blanks for no-break spaces.
bool CopySelection(const EditorControl& editor, Platform& platform)
{
    if (editor.selectionLength() == 0)
        return false;
    QString text = ToLineFeeds(editor.selectedText());
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    return platform.setClipboardText(text);
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
