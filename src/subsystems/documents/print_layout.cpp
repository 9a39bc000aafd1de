#include "subsystems/documents/print_layout.h"

#include "settings/numeric_text.h"

namespace {

constexpr QChar CarriageReturn = u'\r';
constexpr QChar LineFeed = u'\n';

// Whether cutting the text here would split a surrogate pair: half an emoji
// prints as nothing or as garbage.
bool SplitsPair(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

// How much of the rest of the text makes one printed line, and whether a
// carriage return must be added after it.
std::pair<qsizetype, bool> CutPiece(QStringView rest)
{
    const QStringView piece = rest.left(PrintLineWidth);
    if (const qsizetype cr = piece.indexOf(CarriageReturn); cr >= 0)
        return {cr + 1, false};
    for (qsizetype width = piece.size(); width > 0; --width) {
        if (piece[width - 1] == u' ')
            return {width, true};
    }
    // A pair that would be split goes whole onto the next line.
    return {piece.size() - (SplitsPair(rest, piece.size()) ? 1 : 0), true};
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool OneCharacter(QStringView text)
{
    return text.size() == 1 || (text.size() == 2 && SplitsPair(text, 1));
}

QStringView WithoutEndBlanks(QStringView line)
{
    while (!line.isEmpty() && IsBlank(line.back()))
        line.chop(1);
    return line;
}

// Blanks at the end of a line print nothing, so they never make it too
// wide; nor is one character ever too wide to print.
bool TooWide(QStringView line, const FitsWidth& fits)
{
    const QStringView printed = WithoutEndBlanks(line);
    return fits && !printed.isEmpty() && !OneCharacter(printed) && !fits(printed);
}

// How much of a line too wide for the paper stays on it: up to its last
// blank that fits, blanks right after the last word that fits included,
// else all that fits, at least one character.
qsizetype FittingPart(QStringView line, const FitsWidth& fits)
{
    qsizetype fitting = line.size() - 1;
    while (fitting > 1 && !fits(WithoutEndBlanks(line.left(fitting))))
        --fitting;
    for (qsizetype end = fitting; end > 0; --end) {
        if (IsBlank(line[end - 1]))
            return end;
    }
    if (SplitsPair(line, fitting))
        return fitting > 1 ? fitting - 1 : fitting + 1;
    return fitting;
}

// The page blocks being filled, and the count of lines on the current one.
class PageBuilder
{
public:
    PageBuilder(int linesPerPage, const FitsWidth& fits) : m_linesPerPage(linesPerPage), m_fits(fits) {}

    // Adds a printed line with its line end (a leading line feed, the rest
    // of the one before, is kept); counted lines may end the page.
    void addLine(QStringView line, bool counted)
    {
        if (line.startsWith(LineFeed)) {
            m_block += LineFeed;
            line = line.mid(1);
        }
        const bool ownEnd = line.endsWith(CarriageReturn);
        QStringView rest = ownEnd ? line.chopped(1) : line;
        while (TooWide(rest, m_fits)) {
            const qsizetype part = FittingPart(rest, m_fits);
            m_block += rest.left(part);
            m_block += CarriageReturn;
            rest = rest.mid(part);
            endLine(counted);
        }
        m_block += rest;
        if (ownEnd)
            m_block += CarriageReturn;
        endLine(counted);
    }

    // The last of the text, as it is, with its own line ends.
    void addRest(QStringView rest)
    {
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf(CarriageReturn, rest.startsWith(LineFeed) ? 1 : 0);
            const qsizetype length = end < 0 ? rest.size() : end + 1;
            addLine(rest.left(length), false);
            rest = rest.mid(length);
        }
    }

    QList<QString> finish()
    {
        m_pages.append(m_block);
        return m_pages;
    }

private:
    void endLine(bool counted)
    {
        if (counted && ++m_lineCount == m_linesPerPage) {
            m_pages.append(m_block);
            m_block.clear();
            m_lineCount = 0;
        }
    }

    int m_linesPerPage;
    const FitsWidth& m_fits;
    QList<QString> m_pages;
    QString m_block;
    int m_lineCount = 0;
};

} // namespace

int LinesPerPage(int printableHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return int(RoundHalfEven(double(printableHeight) / lineHeight - 1));
}

QList<QString> PrintPageBlocks(const QString& text, int linesPerPage, const FitsWidth& fits)
{
    PageBuilder builder(linesPerPage, fits);
    qsizetype position = 0;
    // As long as more than 56 characters are left; the rest goes whole.
    while (position < text.size() - (PrintLineWidth - 1) - 1) {
        const QStringView rest = QStringView(text).mid(position);
        const auto [width, addBreak] = CutPiece(rest);
        QString line = rest.left(width).toString();
        if (addBreak)
            line += CarriageReturn;
        builder.addLine(line, true);
        position += width;
    }
    builder.addRest(QStringView(text).mid(position));
    return builder.finish();
}

QStringList PageBlockLines(const QString& block)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < block.size(); ++i) {
        const QChar c = block[i];
        if (c == LineFeed && (i == 0 || block[i - 1] == CarriageReturn))
            continue;
        if (c == CarriageReturn || c == LineFeed) {
            lines.append(line);
            line.clear();
            continue;
        }
        line += c;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}
