#pragma once

#include "subsystems/documents/note_storage.h"

#include <QString>

#include <functional>
#include <memory>

// Watches a note through inotify: the file the path leads to, its folder
// and, for a symbolic link, the link's folder, all on one descriptor that
// the event loop waits on, so nothing runs while nothing changes. Nothing
// where inotify cannot be had (its instances used up, or no such system):
// polling instead would wake the program all day.
std::unique_ptr<NoteWatch> WatchNoteFile(const QString& path, std::function<void()> changed);
