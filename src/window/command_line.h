#pragma once

#include <QByteArrayList>
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

struct CommandLineDocument
{
    QString path; // empty: the command line names no document
    // The name's bytes are not UTF-8 text, so Qt's file functions cannot hold it.
    bool nameUnusable = false;
};

// The document the program's arguments name. One argument (what a file
// manager or a desktop entry passes) is the path exactly as given; several
// are split at blanks and joined by single blanks.
CommandLineDocument DocumentFromArguments(const QByteArrayList& arguments);

// What the program was asked for. "--help" or "--version" as the first
// argument answers on standard output and ends; "--" as the first argument is
// dropped, so a note named "--help" can be opened. Every other argument
// belongs to the note's name.
enum class CommandLineRequest { OpenNote, ShowUsage, ShowVersion };

struct CommandLineOptions
{
    CommandLineRequest request = CommandLineRequest::OpenNote;
    QByteArrayList noteArguments; // for DocumentFromArguments
};

CommandLineOptions ReadCommandLineOptions(const QByteArrayList& arguments);

// What --help and --version print, each ending in a line break.
QByteArray CommandLineUsage();
QByteArray CommandLineVersion();
