// The input is a value as a settings file or a dialog holds it, one byte a
// character. NumericValue must read plain decimal syntax as strtod does in
// the C locale; the rounding and the integer conversions must agree with it.

#include "fuzz_report.h"
#include "settings/numeric_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

qsizetype SkipDigits(const std::string& s, qsizetype i)
{
    while (i < qsizetype(s.size()) && IsDigit(s[size_t(i)]))
        ++i;
    return i;
}

// The longest prefix of s in plain decimal syntax: sign, digits, fraction,
// exponent; empty when s does not start with one.
std::string DecimalPrefix(const std::string& s)
{
    qsizetype i = 0;
    const auto at = [&s](qsizetype k) { return k < qsizetype(s.size()) ? s[size_t(k)] : '\0'; };
    if (at(i) == '+' || at(i) == '-')
        ++i;
    const qsizetype integerEnd = SkipDigits(s, i);
    qsizetype end = integerEnd;
    bool digits = integerEnd > i;
    if (at(end) == '.') {
        const qsizetype fractionEnd = SkipDigits(s, end + 1);
        if (digits || fractionEnd > end + 1) {
            digits = true;
            end = fractionEnd;
        }
    }
    if (!digits)
        return {};
    if (at(end) == 'e' || at(end) == 'E') {
        qsizetype e = end + 1;
        if (at(e) == '+' || at(e) == '-')
            ++e;
        if (const qsizetype exponentEnd = SkipDigits(s, e); exponentEnd > e)
            end = exponentEnd;
    }
    return s.substr(0, size_t(end));
}

bool StartsWithNoCase(const std::string& s, qsizetype at, const char* word)
{
    return s.size() >= size_t(at) + std::strlen(word) && strncasecmp(s.c_str() + at, word, std::strlen(word)) == 0;
}

// What strtod reads that is no plain decimal number: hexadecimal, infinities, NaN.
bool StrtodReadsMore(const std::string& s)
{
    const qsizetype afterSign = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    return StartsWithNoCase(s, afterSign, "0x") || StartsWithNoCase(s, afterSign, "inf")
        || StartsWithNoCase(s, afterSign, "nan");
}

QString Number(double value) { return QString::number(value, 'g', 17); }

void CheckReading(const QString& text, const std::string& bytes)
{
    // NumericValue skips blanks; strtod skips every kind of white space.
    size_t start = 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t'))
        ++start;
    const std::string rest = bytes.substr(start);
    const std::string prefix = DecimalPrefix(rest);
    const double value = NumericValue(text);

    char* end = nullptr;
    const double expected = prefix.empty() ? 0.0 : std::strtod(prefix.c_str(), &end);
    if (!prefix.empty() && end != prefix.c_str() + prefix.size())
        PropertyFailed("strtod reads the whole decimal prefix", {{"prefix", QString::fromStdString(prefix)}});
    if (value != expected)
        PropertyFailed("NumericValue reads plain decimal syntax as strtod",
                       {{"text", text}, {"prefix", QString::fromStdString(prefix)}, {"value", Number(value)},
                        {"strtod", Number(expected)}});

    // Where strtod reads only decimal syntax too, it stops where the prefix ends.
    const bool otherSpace = !rest.empty() && std::strchr("\n\v\f\r", rest[0]) != nullptr && rest[0] != '\0';
    if (!otherSpace && !StrtodReadsMore(rest)) {
        char* wholeEnd = nullptr;
        std::strtod(rest.c_str(), &wholeEnd);
        if (size_t(wholeEnd - rest.c_str()) != prefix.size())
            PropertyFailed("strtod stops where the decimal prefix ends", {{"text", text}});
    }
}

void CheckRounding(double value)
{
    const double rounded = RoundHalfEven(value);
    if (std::isnan(value)) {
        if (!std::isnan(rounded))
            PropertyFailed("NaN rounds to NaN", {{"rounded", Number(rounded)}});
        return;
    }
    if (std::isinf(value)) {
        if (rounded != value)
            PropertyFailed("an infinity rounds to itself", {{"rounded", Number(rounded)}});
        return;
    }
    const double distance = std::fabs(rounded - value);
    if (rounded != std::trunc(rounded) || distance > 0.5 || (distance == 0.5 && std::fmod(rounded, 2.0) != 0))
        PropertyFailed("RoundHalfEven rounds to the nearest whole number, halves to even",
                       {{"value", Number(value)}, {"rounded", Number(rounded)}});
}

template <typename Int>
void CheckConversion(const QString& text, std::optional<Int> converted, const char* property)
{
    const double rounded = RoundHalfEven(NumericValue(text));
    const bool fits = rounded >= double(std::numeric_limits<Int>::min()) && rounded <= double(std::numeric_limits<Int>::max());
    if (converted.has_value() != fits || (fits && double(*converted) != rounded))
        PropertyFailed(property, {{"text", text}, {"rounded", Number(rounded)},
                                  {"converted", converted ? QString::number(*converted) : QStringLiteral("nothing")}});
}

void CheckRange(const QString& text, int minimum, int maximum)
{
    const double rounded = RoundHalfEven(NumericValue(text.trimmed()));
    const bool inside = rounded >= minimum && rounded <= maximum;
    const std::optional<int> result = NumberInRange(text, minimum, maximum);
    if (result.has_value() != inside || (inside && double(*result) != rounded))
        PropertyFailed("NumberInRange gives the rounded number exactly when it lies in the range",
                       {{"text", text}, {"minimum", QString::number(minimum)}, {"maximum", QString::number(maximum)},
                        {"result", result ? QString::number(*result) : QStringLiteral("nothing")}});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    // strtod stops at a NUL byte, and so does the decimal syntax.
    CheckReading(text, std::string(bytes.c_str()));

    CheckRounding(NumericValue(text));
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckRounding(raw);
    }
    CheckConversion(text, ToInt16(text), "ToInt16 gives nothing exactly when the rounded value is out of range");
    CheckConversion(text, ToInt32(text), "ToInt32 gives nothing exactly when the rounded value is out of range");
    CheckRange(text, 0, 32767);
    CheckRange(text, -5, 5);
    CheckRange(text, 7, 7);
    CheckRange(text, 10, 0);
    CheckRange(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return 0;
}
