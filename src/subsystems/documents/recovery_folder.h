#pragma once

#include "subsystems/documents/recovery_file.h"

#include <QString>
#include <QStringList>

#include <vector>

class NoteStorage;

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

    // Moves the file aside under a fixed name in its folder, where the one set
    // aside before it is kept as the older copy.
    void setAside();
    // Removes the file, once this copy has taken its text over.
    void remove();

private:
    friend class RecoveryFolder;
    // Removes the lock file and lets the lock go.
    void release();

    QString m_path;
    QString m_lockPath;
    int m_lockFd = -1;
    RecoveredNote m_note;
};

// One folder of recovery files. Each running copy of the program keeps its
// own file there, named at its first write, and holds a lock on a file beside
// it for as long as it runs: the system lets the lock go when the process
// ends, however it ends, so a lock nobody holds marks a copy that is gone.
class RecoveryFolder
{
public:
    explicit RecoveryFolder(QString directory);
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const QString& directory() const { return m_directory; }
    // Writes this copy's file, made and locked at the first write. 0 or the errno.
    int keep(NoteStorage& storage, const QByteArray& bytes);
    // Removes this copy's file; touches nothing when there is none.
    void discard();
    // This copy's file; empty before its first write.
    const QString& filePath() const { return m_filePath; }

    // Adds the files other copies left behind here to found, each locked by
    // this copy now. A file that cannot be read as one is renamed
    // "unreadable-..." unasked, and its new path added to unreadable.
    void claimLeftovers(std::vector<Leftover>& found, QStringList& unreadable);

private:
    int startSession();
    void sweepLocksWithoutFiles(const QStringList& lockNames);
    void sweepTemporaryFiles(const QStringList& names);

    QString m_directory;
    QString m_lockPath;
    QString m_filePath;
    int m_lockFd = -1;
    bool m_holdsFile = false;
};
