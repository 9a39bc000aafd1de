#pragma once

struct DocumentContext;

// File > Open...
void FileOpen(DocumentContext& context);

// Loads the note named by FileName when the program starts. A note that
// cannot be shown leaves an empty, untitled document.
void LoadStartupDocument(DocumentContext& context);
