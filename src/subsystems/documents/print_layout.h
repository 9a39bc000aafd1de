#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A note is printed in lines of at most this many characters.
inline constexpr int PrintLineWidth = 56;

// The lines that fit a page: the printable height over the height of a line
// of text, less one, rounded to the nearest whole number (halves to even).
// A line height of 0 or less gives 0: no page is started for the count.
int LinesPerPage(int printableHeight, int lineHeight);

// Cuts the text into printed lines and the lines into pages. A line ends at
// the text's own carriage return, which stays with the line feed after it,
// or at the last blank within 56 characters, which stays at the end of the
// line and gets a carriage return after it; 56 characters without either
// are cut after the 56th, or after the 55th where that would split a
// surrogate pair. After linesPerPage lines a page ends (never when it is 0
// or less). What is left at the end, at most 56 characters, goes whole onto
// the last page. Always at least one page, empty for an empty text.
QList<QString> PrintPageBlocks(const QString& text, int linesPerPage);

// The lines a page block prints: a carriage return ends a line, a line feed
// right after one (or at the start of the block, when a page ended between
// the two) belongs to that line end and prints nothing.
QStringList PageBlockLines(const QString& block);
