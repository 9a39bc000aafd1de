#include "window/shutdown.h"

#include "platform/platform.h"
#include "settings/private_profile.h"
#include "window/app_state.h"

void WriteSettingsFile(const AppState& state, const EditorAppearanceValues& appearance, bool windowMinimized)
{
    PrivateProfile profile(state.SettingsPath);
    WriteSettings(profile, state.settings, appearance, windowMinimized);
    // A settings file that cannot be written is not reported: the program is leaving.
    profile.save();
}

void SaveSettingsAndExit(AppState& state, Platform& platform, const EditorAppearanceValues& appearance,
                         bool windowMinimized)
{
    platform.closeHelp();
    WriteSettingsFile(state, appearance, windowMinimized);
    platform.closeHelp();
    platform.exitProcess();
}
