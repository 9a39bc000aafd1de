#pragma once

#include "platform/platform.h"

#include <QString>

// The question before a save the user asked for replaces a note another
// program changed: Yes replaces it, No saves under another name, Cancel
// (the default, and Esc) writes nothing.
MessageAnswer AskReplaceChangedNote(Platform& platform, const QString& path);

// Tells that an automatic save left a note changed elsewhere alone.
void TellAutoSaveDidNotReplace(Platform& platform, const QString& path);
