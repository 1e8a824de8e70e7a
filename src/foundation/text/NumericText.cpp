#include "foundation/text/NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cctype>

namespace mw {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape strictly; from_chars alone would accept "inf", "nan" and hexadecimal forms.
bool hasNumberShape(std::string_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    std::string_view s = trimmed(text);
    if (!hasNumberShape(s))
        return std::nullopt;
    if (s.front() == '+')
        s.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> parseFloat32(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const auto f = static_cast<float>(*value);
    if (!std::isfinite(f))
        return std::nullopt;
    return f;
}

std::optional<std::int64_t> parseInteger(std::string_view text, std::int64_t low, std::int64_t high)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // halves to even
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

namespace {

// The shortest text that reads back as `value`, with the exponent written as the editor always
// wrote it: an upper-case "E" ("6.123234E-17").
template <class T>
std::string shortestText(T value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return {};
    std::string text(buffer, end);
    if (const auto e = text.find('e'); e != std::string::npos)
        text[e] = 'E';
    return text;
}

} // namespace

std::string formatFloat(float value) { return shortestText(value); }
std::string formatDouble(double value) { return shortestText(value); }


std::string formatOneDecimal(std::string_view text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::string(text);
    // Round the shortest decimal text of the value, so what is rounded is what the user sees.
    char buffer[400];
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::fixed);
    std::string digits(buffer, shortest.ptr);
    bool negative = false;
    if (!digits.empty() && digits[0] == '-') {
        negative = true;
        digits.erase(0, 1);
    }
    std::string whole = digits, fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        whole = digits.substr(0, dot);
        fraction = digits.substr(dot + 1);
    }
    fraction.resize(std::max<std::size_t>(fraction.size(), 2), '0');
    // Keep one decimal; a second decimal of 5 or more rounds away from zero.
    std::string kept = whole;
    kept.push_back(fraction[0]);
    if (fraction[1] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    const std::size_t firstDigit = std::min(kept.find_first_not_of('0'), kept.size() - 2);
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string result;
    if (negative && !zero)
        result.push_back('-');
    result.append(kept, firstDigit, kept.size() - 1 - firstDigit);
    result.push_back('.');
    result.push_back(kept.back());
    return result;
}

std::string hexNumber(std::uint64_t value, int digits)
{
    char buffer[20];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, 16).ptr;
    std::string text(buffer, end);
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return "0x" + text;
}

} // namespace mw
