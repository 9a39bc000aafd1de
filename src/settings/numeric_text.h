#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The numeric reading used for settings values and numbers typed into dialogs:
// leading blanks are skipped, then as much of the text as can form a decimal
// number (sign, digits, fraction, exponent) is taken; a text without such a
// start reads as 0.
double NumericValue(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A whole number typed into a dialog: the text without surrounding blanks,
// read as NumericValue and rounded; nothing when it lies outside the range.
std::optional<int> NumberInRange(const QString& text, int minimum, int maximum);

// NumericValue, rounded, if the result fits a 16-bit signed integer.
std::optional<std::int16_t> ToInt16(const QString& text);

// NumericValue, rounded, if the result fits a 32-bit signed integer.
std::optional<std::int32_t> ToInt32(const QString& text);

// Number as it is written to the settings file: a blank before a number that
// is not negative, no trailing zeros, no decimal point for whole values.
QString NumberValueText(double value);
