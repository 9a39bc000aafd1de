#include "subsystems/editing/delete_caret_line.h"

#include "platform/editor_control.h"

void DeleteCaretLine(EditorControl& editor)
{
    const int line = editor.lineFromChar(editor.selectionStart());
    const int start = editor.charFromLine(line);
    const int next = editor.charFromLine(line + 1);
    editor.setSelectionStart(start);
    editor.setSelectionLength((next < 0 ? editor.textLength() : next) - start);
    editor.replaceSelection(QString());
}
