#pragma once

#include <QString>

// The per-user configuration directory that holds SCRIBLET.INI
// ($XDG_CONFIG_HOME/scriblet), created when missing. Empty when it can be
// neither found nor created.
QString FindConfigDirectory();

// The per-user data directory that holds the program's own note files
// ($XDG_DATA_HOME/scriblet). Not created here: only writing a file there needs it.
QString ProgramDataDirectory();

// Where unsaved text is kept against a crash ($XDG_STATE_HOME/scriblet, by
// default ~/.local/state/scriblet). Not created here. Empty without a home.
QString RecoveryDirectory();
