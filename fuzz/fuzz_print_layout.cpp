// The input's first byte is the number of lines a page holds (a signed byte,
// so 0 and negative counts come up too); the rest is a note's text as UTF-8.
// The printed pages must hold the text and nothing else but the carriage
// returns the wrap adds, in order, in lines of at most 56 characters, and
// of no more than the paper holds across.

#include "fuzz_report.h"
#include "subsystems/documents/print_layout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr QChar CarriageReturn = u'\r';
constexpr QChar LineFeed = u'\n';

// The editor hands its text over with CR LF line ends only.
QString WithWindowsLineEnds(const QString& text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(CarriageReturn, LineFeed);
    return result.replace(LineFeed, QStringLiteral("\r\n"));
}

QString WithoutLineEnds(QString text) { return text.remove(CarriageReturn).remove(LineFeed); }

// The pages as the header describes them: a line ends after the first CR
// within 56 characters, else after the last blank within them, else after
// the 56th (the 55th where the 56th would split a surrogate pair), with a CR
// added after the last two. More than 56 characters left make another line;
// the rest goes whole onto the last page.
QList<QString> DescribedPages(const QString& text, int linesPerPage)
{
    QList<QString> pages;
    QString page;
    int lines = 0;
    qsizetype at = 0;
    while (text.size() - at > PrintLineWidth) {
        const QString window = text.mid(at, PrintLineWidth);
        qsizetype width = PrintLineWidth;
        bool added = true;
        if (const qsizetype cr = window.indexOf(CarriageReturn); cr >= 0) {
            width = cr + 1;
            added = false;
        } else if (const qsizetype blank = window.lastIndexOf(u' '); blank >= 0) {
            width = blank + 1;
        } else if (window.back().isHighSurrogate() && text[at + width].isLowSurrogate()) {
            width = PrintLineWidth - 1;
        }
        page += window.left(width);
        if (added)
            page += CarriageReturn;
        at += width;
        if (++lines == linesPerPage) {
            pages.append(page);
            page.clear();
            lines = 0;
        }
    }
    pages.append(page + text.mid(at));
    return pages;
}

// The joined pages must be the text with carriage returns added, each at a
// wrap point: after a blank, or after 56 characters that hold no CR (55
// when the next two are a surrogate pair), and never between the two
// halves of a pair. A CR of
// the joined pages that may be the text's own or an added one keeps both
// readings open until the text decides.
void CheckJoined(const QString& text, const QString& joined)
{
    std::vector<qsizetype> positions{0};
    std::vector<qsizetype> next;
    qsizetype lineLength = 0;
    for (qsizetype j = 0; j < joined.size(); ++j) {
        const QChar c = joined[j];
        const bool splitsPair = j > 0 && j + 1 < joined.size() && joined[j - 1].isHighSurrogate()
            && joined[j + 1].isLowSurrogate();
        const bool pairKeptWhole = lineLength == PrintLineWidth - 1 && j + 2 < joined.size()
            && joined[j + 1].isHighSurrogate() && joined[j + 2].isLowSurrogate();
        const bool wrapPoint = j > 0 && !splitsPair
            && (joined[j - 1] == u' ' || lineLength == PrintLineWidth || pairKeptWhole);
        next.clear();
        for (const qsizetype i : positions) {
            if (i < text.size() && text[i] == c)
                next.push_back(i + 1);
            if (c == CarriageReturn && wrapPoint && (next.empty() || next.back() != i))
                next.push_back(i);
        }
        if (next.empty())
            PropertyFailed("the pages hold the text and the added line ends, in order",
                           {{"text", text}, {"joined pages", joined}, {"joined up to the fault", joined.left(j + 1)}});
        positions.swap(next);
        lineLength = c == CarriageReturn ? 0 : lineLength + 1;
    }
    if (std::find(positions.begin(), positions.end(), text.size()) == positions.end())
        PropertyFailed("the pages hold the whole text", {{"text", text}, {"joined pages", joined}});
}

// A CR ends a printed line, so does an LF unless it ends the CR LF before it
// (or starts the block, when a page ended between the two).
qsizetype DescribedLineCount(const QString& block)
{
    qsizetype ends = 0;
    bool textAfterLastEnd = false;
    for (qsizetype i = 0; i < block.size(); ++i) {
        if (block[i] == LineFeed && (i == 0 || block[i - 1] == CarriageReturn))
            continue;
        const bool end = block[i] == CarriageReturn || block[i] == LineFeed;
        ends += end ? 1 : 0;
        textAfterLastEnd = !end;
    }
    return qMax<qsizetype>(1, ends + (textAfterLastEnd ? 1 : 0));
}

void CheckLayout(const QString& text, int linesPerPage, bool windowsLineEnds)
{
    const QList<QString> pages = PrintPageBlocks(text, linesPerPage);
    const QList<QString> described = DescribedPages(text, linesPerPage);
    if (pages != described)
        PropertyFailed("the pages are cut as the header describes",
                       {{"text", text}, {"lines a page", QString::number(linesPerPage)},
                        {"pages", QStringList(pages).join(u'|')}, {"described", QStringList(described).join(u'|')}});
    if (pages.isEmpty() || (text.isEmpty() && pages != QList<QString>{QString()}))
        PropertyFailed("always one page at least, empty for an empty text", {{"text", text}});
    if (linesPerPage <= 0 && pages.size() != 1)
        PropertyFailed("no page ends when a page holds 0 lines or less", {{"text", text}});
    CheckJoined(text, QStringList(pages).join(QString()));

    QString printed;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        const QString& block = pages[page];
        const QStringList lines = PageBlockLines(block);
        if (lines.size() != DescribedLineCount(block) || lines.join(QString()) != WithoutLineEnds(block))
            PropertyFailed("a page block prints its lines without their line ends",
                           {{"block", block}, {"lines", lines.join(u'|')}});
        for (const QString& line : lines) {
            if (line.size() > PrintLineWidth)
                PropertyFailed("no printed line is over 56 characters", {{"text", text}, {"line", line}});
            printed += line;
        }
        const bool last = page + 1 == pages.size();
        if (!last && linesPerPage > 0 && block.count(CarriageReturn) != linesPerPage)
            PropertyFailed("a page that is not the last holds its count of wrapped lines",
                           {{"text", text}, {"lines a page", QString::number(linesPerPage)}, {"block", block}});
        if (!last && linesPerPage > 0 && windowsLineEnds && lines.size() != linesPerPage)
            PropertyFailed("a page that is not the last prints its count of lines",
                           {{"text", text}, {"lines a page", QString::number(linesPerPage)}, {"block", block}});
    }
    if (printed != WithoutLineEnds(text))
        PropertyFailed("every character is printed, in order", {{"text", text}, {"printed", printed}});
}

bool OneCharacter(const QString& line)
{
    return line.size() == 1 || (line.size() == 2 && line[0].isHighSurrogate() && line[1].isLowSurrogate());
}

// With paper that holds only so many characters across: every character is
// still printed, in order; no line is wider than the paper, blanks at its
// end aside, unless it is one character; no surrogate pair is split; a page that is not the last holds
// its count of lines, continuations included.
void CheckFitted(const QString& text, int linesPerPage, int across)
{
    const QList<QString> pages
        = PrintPageBlocks(text, linesPerPage, [across](QStringView line) { return line.size() <= across; });
    QString printed;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        const QStringList lines = PageBlockLines(pages[page]);
        for (const QString& line : lines) {
            QString visible = line;
            while (visible.endsWith(u' ') || visible.endsWith(u'\t'))
                visible.chop(1);
            if ((visible.size() > across && !OneCharacter(visible)) || (!line.isEmpty() && line[0].isLowSurrogate()))
                PropertyFailed("no printed line is wider than the paper, and none splits a pair",
                               {{"text", text}, {"across", QString::number(across)}, {"line", line}});
            printed += line;
        }
        if (page + 1 < pages.size() && linesPerPage > 0 && lines.size() != linesPerPage)
            PropertyFailed("a page that is not the last prints its count of lines, continuations included",
                           {{"text", text}, {"lines a page", QString::number(linesPerPage)}, {"block", pages[page]}});
    }
    if (printed != WithoutLineEnds(text))
        PropertyFailed("every character is printed on the narrow paper, in order", {{"text", text}, {"printed", printed}});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int linesPerPage = static_cast<std::int8_t>(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    CheckLayout(text, linesPerPage, false);
    CheckLayout(WithWindowsLineEnds(text), linesPerPage, true);
    CheckFitted(WithWindowsLineEnds(text), linesPerPage, 1 + (data[0] % 64));
    return 0;
}
