#include "subsystems/documents/print_layout.h"

#include "settings/numeric_text.h"

namespace {

constexpr QChar CarriageReturn = u'\r';
constexpr QChar LineFeed = u'\n';

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
    // Half an emoji prints as nothing or as garbage: the pair goes whole onto the next line.
    const bool splitsPair
        = piece.size() < rest.size() && piece.back().isHighSurrogate() && rest[piece.size()].isLowSurrogate();
    return {piece.size() - (splitsPair ? 1 : 0), true};
}

} // namespace

int LinesPerPage(int printableHeight, int lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return int(RoundHalfEven(double(printableHeight) / lineHeight - 1));
}

QList<QString> PrintPageBlocks(const QString& text, int linesPerPage)
{
    QList<QString> pages;
    QString block;
    int lineCount = 0;
    qsizetype position = 0;
    // As long as more than 56 characters are left; the rest goes whole.
    while (position < text.size() - (PrintLineWidth - 1) - 1) {
        const QStringView rest = QStringView(text).mid(position);
        const auto [width, addBreak] = CutPiece(rest);
        block += rest.left(width);
        if (addBreak)
            block += CarriageReturn;
        position += width;
        if (++lineCount == linesPerPage) {
            pages.append(block);
            block.clear();
            lineCount = 0;
        }
    }
    block += QStringView(text).mid(position);
    pages.append(block);
    return pages;
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
