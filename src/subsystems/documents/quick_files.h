#pragma once

#include <QString>

struct DocumentContext;

// The file of quick-file button 0-4: the three user-defined files, then the
// address file and the to-do file in the program directory.
QString QuickFilePath(const DocumentContext& context, int index);

// Saves the current document without asking, then opens the file. A missing
// file in an existing directory is created empty. If the save does not
// complete while the document has unsaved changes, nothing is switched.
void LoadQuickFile(DocumentContext& context, const QString& path);
