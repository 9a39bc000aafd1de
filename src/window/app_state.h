#pragma once

#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/editing/find.h"
#include "subsystems/options/timer_tick.h"

#include <QString>

// Everything that lives for the whole run of the program, each subsystem's
// part in a member of its own: the window hands every subsystem just its
// part, so no lower folder needs this one. One instance is owned by the
// running program, so each test starts from a fresh state.
struct AppState
{
    QString SettingsPath;             // empty when no configuration directory could be had
    bool CommandLineNamedDocument = false;
    Settings settings;                // settings.FileName is the current document's path
    DocumentState document;
    FindState find;
    TimerState timer;
};
