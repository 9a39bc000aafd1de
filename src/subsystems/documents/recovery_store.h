#pragma once

#include "settings/app_paths.h"
#include "subsystems/documents/recovery_folder.h"

#include <array>
#include <vector>

class NoteStorage;

// The outcome of keeping the unsaved text.
struct KeepResult
{
    QString keptIn;           // the folder that holds the text; empty when none could
    bool untilLogout = false; // that folder is the one the system empties at logout
    QString refusedBy;        // the first folder that refused it, if any
    int refusal = 0;          // the errno of that refusal

    bool kept() const { return !keptIn.isEmpty(); }
};

// Where this copy keeps its unsaved text: in the most lasting of the recovery
// folders that takes it, and in that one only. The folders are searched alike
// for texts other copies left behind.
class RecoveryStore
{
public:
    RecoveryStore(const RecoveryDirectories& directories, NoteStorage& storage);

    // Writes this copy's file in the first folder that takes it, then removes
    // its file from the others.
    KeepResult keep(const RecoveredNote& note);
    // Removes this copy's file; touches nothing when there is none.
    void discard();
    // This copy's file where the last write put it; empty before the first.
    QString filePath() const;

    // The files other copies left behind in any folder, oldest first, each
    // locked by this copy now. A file that cannot be read as one is renamed
    // "unreadable-..." unasked; unreadableSetAside() lists where they went.
    std::vector<Leftover> claimLeftovers();
    const QStringList& unreadableSetAside() const { return m_unreadable; }

private:
    NoteStorage& m_storage;
    std::array<RecoveryFolder, 3> m_folders; // state, cache, runtime
    const RecoveryFolder* m_current = nullptr; // the folder of the last write
    QStringList m_unreadable;
};
