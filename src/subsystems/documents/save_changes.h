#pragma once

#include "platform/platform.h"

struct DocumentContext;

// The save-changes prompt: Yes, No or Cancel.
MessageAnswer AskSaveChanges(Platform& platform);

// The guard of New, Open and closing the window: asks about a changed
// document and saves on Yes. Returns whether the guarded command may go on;
// it may not after Cancel, nor when the save started by Yes did not complete.
bool GuardUnsavedChanges(DocumentContext& context);

// File > New.
void FileNew(DocumentContext& context);
