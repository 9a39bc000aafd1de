#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// A note is printed in lines of at most this many characters.
inline constexpr int PrintLineWidth = 56;

// The lines that fit a page: the printable height over the height of a line
// of text, less one, rounded to the nearest whole number (halves to even).
// A line height of 0 or less gives 0: no page is started for the count.
int LinesPerPage(int printableHeight, int lineHeight);

// Whether a line of text fits across the paper; none given: every line fits.
using FitsWidth = std::function<bool(QStringView line)>;

// Cuts the text into printed lines and the lines into pages. A line ends at
// the text's own carriage return, which stays with the line feed after it,
// or at the last blank within 56 characters, which stays at the end of the
// line and gets a carriage return after it; 56 characters without either
// are cut after the 56th, or after the 55th where that would split a
// surrogate pair. A line too wide for the paper goes on in a line of its
// own (a carriage return is put in): from its last blank or tab that fits,
// else after its last character that fits, at least one character (a
// surrogate pair) a line. After linesPerPage lines, such continuations
// included, a page ends (never when it is 0 or less). What is left at the
// end, at most 56 characters, goes onto the last page without being
// counted. Always at least one page, empty for an empty text.
QList<QString> PrintPageBlocks(const QString& text, int linesPerPage, const FitsWidth& fits = {});

// The lines a page block prints: a carriage return ends a line, a line feed
// right after one (or at the start of the block, when a page ended between
// the two) belongs to that line end and prints nothing.
QStringList PageBlockLines(const QString& block);
