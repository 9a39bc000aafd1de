#pragma once

#include <QString>

// The per-user configuration directory that holds SCRIBLET.INI
// ($XDG_CONFIG_HOME/scriblet), created when missing. Empty when it can be
// neither found nor created.
QString FindConfigDirectory();

// The per-user data directory that holds the program's own note files
// ($XDG_DATA_HOME/scriblet). Not created here: only writing a file there needs it.
QString ProgramDataDirectory();

// Where unsaved text is kept against a crash, the most lasting place first.
// A place that cannot be found is empty. None is created here.
struct RecoveryDirectories
{
    QString state;   // $XDG_STATE_HOME/scriblet, by default ~/.local/state/scriblet
    QString cache;   // $XDG_CACHE_HOME/scriblet, by default ~/.cache/scriblet
    QString runtime; // $XDG_RUNTIME_DIR/scriblet, emptied by the system at logout
};
RecoveryDirectories FindRecoveryDirectories();
