#pragma once

struct DocumentContext;

// Writes the current document to its file, asking for a name first when it is
// untitled or SaveAsFlag is on. Returns whether the file was written: a
// cancelled dialog, a refused target or a failed write all leave the changed
// flag set and return false.
bool SaveDocument(DocumentContext& context);

// File > Save.
void FileSave(DocumentContext& context);

// File > Save As...
void FileSaveAs(DocumentContext& context);
