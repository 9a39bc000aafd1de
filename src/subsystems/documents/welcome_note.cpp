#include "subsystems/documents/welcome_note.h"

#include "settings/settings.h"
#include "subsystems/documents/note_file_name.h"
#include "subsystems/documents/note_storage.h"

#include <QDir>
#include <QFileInfo>

QString WelcomeNoteText(const QString& programDirectory, const QString& settingsPath)
{
    const QString settingsLocation = settingsPath.isEmpty() ? QStringLiteral("(no settings directory was found)")
                                                            : settingsPath;
    return QStringLiteral(
               "Welcome to Scriblet!\r\n"
               "\r\n"
               "Scriblet keeps short notes, address lists and to-do lists in plain-text note files "
               "(.SCB or .TXT) and shows one of them at a time. This note is SCRBLT20.SCB. Whatever "
               "note is open when you leave opens again at the next start.\r\n"
               "\r\n"
               "The button bar:\r\n"
               "  F1 F2 F3   open your three quick files (choose them with Options > Quick Files)\r\n"
               "  A          opens your address list, ADDRESS.SCB\r\n"
               "  TD         opens your to-do list, TODO.SCB\r\n"
               "  D  T  DT   put the date, the time, or both at the caret\r\n"
               "  G1 G2 G3   put your three glossary texts at the caret\r\n"
               "  S          puts your signature at the caret\r\n"
               "             (write these texts with Options > Glossary/Signature)\r\n"
               "  #          starts the calculator\r\n"
               "  ET         starts and stops the stopwatch\r\n"
               "  AD         dials the phone number you have selected\r\n"
               "A button that opens another file saves the note you are leaving first. Ctrl+Y deletes "
               "the line the caret is on.\r\n"
               "\r\n"
               "Where things live:\r\n"
               "  This note, ADDRESS.SCB and TODO.SCB: %1\r\n"
               "  Your settings: %2 (written whenever Scriblet ends)\r\n")
        .arg(QDir::toNativeSeparators(programDirectory), settingsLocation);
}

void PrepareProgramDirectory(const QString& programDirectory, const QString& settingsPath)
{
    if (programDirectory.isEmpty() || QFileInfo::exists(programDirectory) || !QDir().mkpath(programDirectory))
        return;
    const QString text = WelcomeNoteText(programDirectory, settingsPath) + QChar(EndOfFileMarker);
    NoteStorage().replace(ProgramFilePath(programDirectory, QStringLiteral("SCRBLT20.SCB")), text.toUtf8());
}
