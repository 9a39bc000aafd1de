#pragma once

#include <QString>

// A print job's file in the temporary folder, made with the name
// "scriblet-print-XXXXXX" and locked for as long as the job lives, so that
// another copy of the program sweeping the folder leaves it alone. Removed
// when the job ends.
class SpoolFile
{
public:
    SpoolFile();
    ~SpoolFile();
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    // False when no file could be made and locked.
    bool isOpen() const { return m_fd >= 0; }
    QString fileName() const { return m_path; }

private:
    int m_fd = -1;
    QString m_path;
};

// Removes the print files that copies which ended without ending their job
// left in the temporary folder: those no running copy holds, and those whose
// lock cannot be tested once they are a day old.
void SweepSpoolFiles();
