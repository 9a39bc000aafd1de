#include "subsystems/documents/recovery_store.h"

#include <algorithm>

RecoveryStore::RecoveryStore(const RecoveryDirectories& directories, NoteStorage& storage)
    : m_storage(storage)
    , m_folders{RecoveryFolder(directories.state), RecoveryFolder(directories.cache),
                RecoveryFolder(directories.runtime)}
{
}

KeepResult RecoveryStore::keep(const RecoveredNote& note)
{
    const QByteArray bytes = RecoveryFileBytes(note);
    KeepResult result;
    for (RecoveryFolder& folder : m_folders) {
        if (folder.directory().isEmpty())
            continue;
        const int error = folder.keep(m_storage, bytes);
        if (error == 0) {
            // Written first, removed after: the text is on disk all along.
            for (RecoveryFolder& other : m_folders) {
                if (&other != &folder)
                    other.discard();
            }
            m_current = &folder;
            result.keptIn = folder.directory();
            result.untilLogout = &folder == &m_folders.back();
            return result;
        }
        if (result.refusedBy.isEmpty()) {
            result.refusedBy = folder.directory();
            result.refusal = error;
        }
    }
    return result;
}

void RecoveryStore::discard()
{
    for (RecoveryFolder& folder : m_folders)
        folder.discard();
}

QString RecoveryStore::filePath() const { return m_current ? m_current->filePath() : QString(); }

std::vector<Leftover> RecoveryStore::claimLeftovers()
{
    std::vector<Leftover> found;
    m_unreadable.clear();
    for (RecoveryFolder& folder : m_folders)
        folder.claimLeftovers(found, m_unreadable);
    std::stable_sort(found.begin(), found.end(),
                     [](const Leftover& a, const Leftover& b) { return a.note().keptAt < b.note().keptAt; });
    return found;
}
