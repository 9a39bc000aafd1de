#pragma once

#include <QString>

#include <cstdint>

class EditorControl;
class Platform;

// The state of Find and Find Next; lives for the whole run.
struct FindState
{
    QString FindText;         // the string of the current search
    QString PreviousFindText; // the string of the last completed Find; fills the dialog
    std::int32_t FindResume = 0; // offset just after the last hit found
};

// Selects the first occurrence of FindText at or after the 1-based position
// start, ignoring case, and remembers where to resume; reports a miss.
// Offsets count in the editor's CR LF text.
void SearchStep(FindState& find, EditorControl& editor, Platform& platform, qsizetype start);

// Edit > Find...: asks for the string, then searches from the top for a new
// string or resumes for the same one.
void EditFind(FindState& find, EditorControl& editor, Platform& platform);

// Edit > Find Next.
void EditFindNext(FindState& find, EditorControl& editor, Platform& platform);
