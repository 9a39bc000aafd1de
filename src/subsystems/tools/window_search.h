#pragma once

#include <QString>

class Platform;

// Looks among the desktop's top-level windows, top of the stack first, for
// one whose title begins with the search name in any letter case; restores
// and activates the first found. Windows that belong to another window, and
// the program's own (whose title may hold a note's name), are passed over.
// Returns whether one was found.
bool FindAndActivateWindow(Platform& platform, const QString& searchName);
