#pragma once

#include "settings/settings.h"
#include "settings/text_encoding.h"
#include "subsystems/editing/find.h"
#include "subsystems/options/timer_tick.h"

#include <QString>

// Everything that lives for the whole run of the program. One instance is
// owned by the running program and handed to whoever needs it.
struct AppState
{
    QString SettingsPath;             // empty when no configuration directory could be had
    QString ProgramDirectory;         // where the fixed note files live
    bool CommandLineNamedDocument = false;
    Settings settings;                // settings.FileName is the current document's path
    TextEncoding DocumentEncoding = TextEncoding::Utf8; // what the current note was read in
    bool SaveAsFlag = false;
    QString RefusedSaveText;          // the last text refused as too long for a note file
    TimerState timer;
    FindState find;
};
