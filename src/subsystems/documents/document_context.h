#pragma once

class EditorControl;
class NoteStorage;
class Platform;
class QWidget;
struct AppState;

// What the document commands work on: the program's state, the platform, the
// editor that holds the text, the window whose caption shows the title and
// the note files on disk.
struct DocumentContext
{
    AppState& state;
    Platform& platform;
    EditorControl& editor;
    QWidget& window;
    NoteStorage& storage;
};
