#pragma once

#include "settings/text_encoding.h"
#include "subsystems/documents/note_storage.h"

#include <QString>

class EditorControl;
class MainWindowControl;
class NoteFollower;
class Platform;
struct Settings;

// What the documents keep for the whole run, beside the settings.
struct DocumentState
{
    QString ProgramDirectory; // where the address, to-do and welcome notes live
    TextEncoding DocumentEncoding = TextEncoding::Utf8; // what the current note was read in
    bool SaveAsFlag = false;
    QString RefusedSaveText; // the last text refused as too long for a note file
    // The current note as the program last read or wrote it: its fingerprint
    // (empty when nothing is known, as for an untitled note) and its identity.
    QByteArray DiskFingerprint;
    NoteIdentity DiskIdentity;
    // Auto save skipped a note changed elsewhere: the user is told once.
    enum class SkipNotice { None, Pending, Given };
    SkipNotice ChangedElsewhereNotice = SkipNotice::None;
};

// What the document commands work on: the settings (settings.FileName is the
// current document's path), the documents' own state, the platform, the
// editor that holds the text, the window whose caption shows the title and
// the note files on disk; and what follows the note on disk, where anything does.
struct DocumentContext
{
    Settings& settings;
    DocumentState& document;
    Platform& platform;
    EditorControl& editor;
    MainWindowControl& window;
    NoteStorage& storage;
    NoteFollower* follower = nullptr;
};
