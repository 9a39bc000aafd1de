#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class EditorControl;
class FormFactory;
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

// Shows the Find form filled with previousText: the text it was closed with
// by OK or Enter, or nothing when Esc cancelled it.
std::optional<QString> AskSearchString(FormFactory& forms, const QString& previousText);

// Edit > Find...: asks for the string, then searches from the top for a new
// string or resumes for the same one. Cancelling the form changes nothing.
void EditFind(FindState& find, EditorControl& editor, Platform& platform, FormFactory& forms);

// Edit > Find Next.
void EditFindNext(FindState& find, EditorControl& editor, Platform& platform);
