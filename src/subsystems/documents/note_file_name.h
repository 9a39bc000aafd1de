#pragma once

#include <QString>

// The filter of the Open and Save dialogs.
inline const QString NoteFileFilter = QStringLiteral("Scriblet Files (*.scb)|*.scb|Text Files (*.txt)|*.txt");

// A note file is at most this many bytes long on disk, end-of-file byte included.
inline constexpr qint64 NoteFileSizeLimit = 29995;

// The end-of-file byte (Ctrl-Z) that ends a note file.
inline constexpr char16_t EndOfFileMarker = 26;

struct ExtensionCheck
{
    bool accepted = false;
    QString path; // completed with ".SCB" when the name had no extension
};

// Only .SCB and .TXT files are edited, so a binary file is not opened by
// mistake. The rule looks at the file name only, never at directory names:
// the first dot of the name must be followed by SCB or TXT (any case).
ExtensionCheck CheckNoteFileExtension(const QString& path);

class Platform;

// The message shown when a name is refused by the extension rule.
void ShowExtensionRefusal(Platform& platform);
