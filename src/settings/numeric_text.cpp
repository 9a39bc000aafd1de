#include "settings/numeric_text.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

qsizetype SkipDigits(const QString& text, qsizetype i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// Length of the longest prefix of text (from start) that reads as a decimal number.
qsizetype NumberPrefixEnd(const QString& text, qsizetype start)
{
    qsizetype i = start;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype intStart = i;
    i = SkipDigits(text, i);
    bool haveDigits = i > intStart;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fracStart = i + 1;
        const qsizetype fracEnd = SkipDigits(text, fracStart);
        if (haveDigits || fracEnd > fracStart) {
            haveDigits = true;
            i = fracEnd;
        }
    }
    if (!haveDigits)
        return start;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
            ++e;
        const qsizetype expEnd = SkipDigits(text, e);
        if (expEnd > e)
            i = expEnd;
    }
    return i;
}

template <typename Int>
std::optional<Int> RoundedInRange(const QString& text)
{
    const double rounded = RoundHalfEven(NumericValue(text));
    if (!std::isfinite(rounded) || rounded < double(std::numeric_limits<Int>::min())
        || rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

double NumericValue(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    const qsizetype end = NumberPrefixEnd(text, start);
    if (end == start)
        return 0.0;
    // Past the range of a double, toDouble gives an infinity of the number's
    // sign when it is too large and 0 when it is too small.
    return text.mid(start, end - start).toDouble();
}

double RoundHalfEven(double value)
{
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    return rounded;
}

std::optional<std::int16_t> ToInt16(const QString& text) { return RoundedInRange<std::int16_t>(text); }

std::optional<std::int32_t> ToInt32(const QString& text) { return RoundedInRange<std::int32_t>(text); }

QString NumberValueText(double value)
{
    if (value == 0)
        value = 0; // no "-0"
    const QString digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : u' ' + digits;
}

std::optional<int> NumberInRange(const QString& text, int minimum, int maximum)
{
    const double value = RoundHalfEven(NumericValue(text.trimmed()));
    // NaN fails both comparisons, so it is refused too.
    if (!(value >= minimum && value <= maximum))
        return std::nullopt;
    return int(value);
}
