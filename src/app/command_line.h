#pragma once

#include <QString>

#include <array>

// The command line is split into at most this many words.
inline constexpr int CommandLineEntries = 21;

using CommandLineWords = std::array<QString, CommandLineEntries>;

// Splits the argument text at blanks only (tabs and quotation marks are
// ordinary characters; runs of blanks count as one separator). Words beyond
// the last entry are kept, joined by single blanks, in the last entry, so a
// long path is never cut short.
CommandLineWords ParseCommandLine(const QString& text);

// The document path the words name: the words up to the first empty entry,
// joined by single blanks. Empty when the command line named no document.
QString DocumentPathFromWords(const CommandLineWords& words);
