#pragma once

#include "subsystems/documents/recovery_file.h"

#include <QString>

#include <vector>

// A recovery file that no running copy of the program holds. The copy that
// found it holds its lock until it is dealt with; dropped untouched, the file
// stays for the next start.
class Leftover
{
public:
    Leftover(QString path, QString lockPath, int lockFd, RecoveredNote note);
    ~Leftover();
    Leftover(Leftover&& other) noexcept;
    Leftover& operator=(Leftover&& other) noexcept;
    Leftover(const Leftover&) = delete;
    Leftover& operator=(const Leftover&) = delete;

    const RecoveredNote& note() const { return m_note; }
    const QString& path() const { return m_path; }

private:
    friend class RecoveryStore;
    // Removes the lock file and lets the lock go.
    void release();

    QString m_path;
    QString m_lockPath;
    int m_lockFd = -1;
    RecoveredNote m_note;
};

// The directory of recovery files. Each running copy of the program keeps its
// own file, named at its first write, and holds a lock on a file beside it for
// as long as it runs: the system lets the lock go when the process ends,
// however it ends, so a lock nobody holds marks a copy that is gone.
class RecoveryStore
{
public:
    explicit RecoveryStore(QString directory);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Writes this copy's file. 0 or the errno.
    int keep(const RecoveredNote& note);
    // Removes this copy's file; touches nothing when there is none.
    void discard();
    // This copy's file; empty before its first write.
    QString filePath() const { return m_filePath; }

    // The files other copies left behind, oldest first, each locked by this
    // copy now. A file that cannot be read as one is renamed "unreadable-..."
    // unasked.
    std::vector<Leftover> claimLeftovers();
    // Moves the file aside under a fixed name, where the one set aside before
    // it is kept as the older copy.
    void setAside(Leftover& leftover);
    // Removes a file whose text this copy has taken over.
    void remove(Leftover& leftover);

    QString setAsidePath() const;

private:
    bool startSession();
    void sweepLocksWithoutFiles(const QStringList& lockNames);
    void sweepTemporaryFiles(const QStringList& names);

    QString m_directory;
    QString m_lockPath;
    QString m_filePath;
    int m_lockFd = -1;
    bool m_holdsFile = false;
};
