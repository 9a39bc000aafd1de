#pragma once

#include <QtGlobal>

#include <functional>

class Platform;
class QString;
struct DesktopWindow;

// Whether the search takes the window for the search name: its title begins
// with the name in any letter case. Windows that belong to another window,
// and the program's own (whose title may hold a note's name), are never taken.
bool IsSearchedWindow(const DesktopWindow& window, const QString& searchName);

// Looks among the desktop's top-level windows, top of the stack first, for
// the first one the search takes and, where given, accept() too, then
// restores and activates it. Returns its id, or 0 when none was found.
quint64 FindAndActivateWindow(Platform& platform, const QString& searchName,
                              const std::function<bool(const DesktopWindow&)>& accept = {});
