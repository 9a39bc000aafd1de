#pragma once

#include "settings/settings.h"

struct AppState;
class Platform;

// Writes every setting to the settings file (the window geometry only when
// the window is not minimized).
void WriteSettingsFile(const AppState& state, const EditorAppearanceValues& appearance, bool windowMinimized);

// The exit routine: closes the help window, writes every setting to the
// settings file (the window geometry only when the window is not minimized)
// and ends the process.
void SaveSettingsAndExit(AppState& state, Platform& platform, const EditorAppearanceValues& appearance,
                         bool windowMinimized);
