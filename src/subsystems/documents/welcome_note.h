#pragma once

#include <QString>

// On the first start the program directory does not exist yet: creates it
// with the welcome note SCRBLT20.SCB. Does nothing when the directory exists,
// so a welcome note the user deleted stays deleted.
void PrepareProgramDirectory(const QString& programDirectory, const QString& settingsPath);

// The welcome note's text, naming where notes and settings live.
QString WelcomeNoteText(const QString& programDirectory, const QString& settingsPath);
