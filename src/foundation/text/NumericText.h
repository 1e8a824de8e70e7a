#pragma once
// The numbers users type into value boxes, independent of the locale: optional sign, digits with an
// optional "." fraction, optional exponent, blanks around allowed. And the texts values are shown
// as: the shortest decimal that reads back as the same value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mw {

std::optional<double> parseNumber(std::string_view text);

// The number as a 32-bit float, when it is a number within the float range.
std::optional<float> parseFloat32(std::string_view text);

// The number rounded to an integer (halves to even) within [low, high].
std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low, std::int64_t high);

std::string formatFloat(float value);
std::string formatDouble(double value);

// A number's text rounded to one decimal with the "0.0" pattern (halves away from zero), e.g.
// "12.34" -> "12.3", "-0.04" -> "0.0", "7" -> "7.0". A text that is not a number stays as it is.
std::string formatOneDecimal(std::string_view text);

// An offset or identifier as reports show it: "0x" and upper-case hexadecimal digits, at least
// `digits` of them ("0x1A2B"; with 4 digits, 0x20 is "0x0020").
std::string hexNumber(std::uint64_t value, int digits = 1);

} // namespace mw
