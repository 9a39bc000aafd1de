#pragma once

class EditorControl;

// Ctrl+Y: deletes the line that holds the caret (or the selection's start)
// together with its line break; on the last line, to the end of the text.
void DeleteCaretLine(EditorControl& editor);
