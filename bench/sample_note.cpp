#include "sample_note.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::array Words{
    "call",    "Anna",     "about",   "the",      "meeting", "on",      "Tuesday", "bring",   "notes",
    "from",    "last",     "week",    "and",      "ask",     "for",     "budget",  "figures", "order",
    "paper",   "toner",    "printer", "second",   "floor",   "check",   "invoice", "number",  "with",
    "accounts", "remind",  "Peter",   "to",       "send",    "a",       "copy",    "of",      "report",
    "before",  "Friday",   "lunch",   "at",       "noon",    "pick",    "up",      "car",     "service",
    "garage",  "phone",    "dentist", "move",     "meeting", "room",    "agenda",  "project", "plan",
    "review",  "draft",    "letter",  "customer", "address", "change",  "new",     "office",  "hours",
};

// A small generator of our own, so the note is the same everywhere.
class WordPicker
{
public:
    std::uint32_t next(std::uint32_t bound)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state % bound;
    }

    QByteArray word() { return Words[next(Words.size())]; }

private:
    std::uint32_t m_state = 2463534242u;
};

QByteArray SentenceLine(WordPicker& picker, int wordCount)
{
    QByteArray line = picker.word();
    line[0] = char(QChar::toUpper(char16_t(line[0])));
    for (int i = 1; i < wordCount; ++i)
        line += ' ' + picker.word();
    return line + '.';
}

QByteArray NextLine(WordPicker& picker, int lineNumber)
{
    if (lineNumber % 9 == 8)
        return {};
    if (lineNumber % 9 == 0)
        return QByteArray::number(1 + picker.next(28)) + '/' + QByteArray::number(1 + picker.next(12)) + "/2024 "
            + SentenceLine(picker, 2 + int(picker.next(4)));
    if (picker.next(3) == 0)
        return "- " + SentenceLine(picker, 3 + int(picker.next(6)));
    return SentenceLine(picker, 2 + int(picker.next(16)));
}

// Words until the line is exactly length characters; never ends in a blank.
QByteArray FillLine(WordPicker& picker, qsizetype length)
{
    QByteArray line = SentenceLine(picker, 1);
    line.chop(1);
    while (line.size() < length)
        line += ' ' + picker.word();
    line.truncate(length);
    if (line.endsWith(' '))
        line[line.size() - 1] = '.';
    return line;
}

} // namespace

QByteArray SampleNoteBytes(qsizetype size)
{
    const QByteArray lineEnd = "\r\n";
    const qsizetype textSize = size - 1; // the Ctrl-Z follows
    // Room for a last line of at least a few words.
    constexpr qsizetype LastLineRoom = 24;
    WordPicker picker;
    QByteArray text;
    for (int lineNumber = 0;; ++lineNumber) {
        const QByteArray line = NextLine(picker, lineNumber);
        if (text.size() + line.size() + 2 * lineEnd.size() + LastLineRoom > textSize)
            break;
        text += line + lineEnd;
    }
    text += FillLine(picker, textSize - text.size() - lineEnd.size()) + lineEnd;
    return text + '\x1A';
}
