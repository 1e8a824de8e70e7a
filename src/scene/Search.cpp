#include "scene/Search.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "editing/NumericText.h"
#include "workspace/Prompter.h"

namespace mw {

namespace {

unsigned char foldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) // Latin-1 capitals with accents
        return static_cast<unsigned char>(c + 32);
    return c;
}

} // namespace

bool containsIgnoringCase(std::string_view text, std::string_view needle)
{
    const auto equal = [](char a, char b) {
        return foldCase(static_cast<unsigned char>(a)) == foldCase(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), equal) != text.end();
}

SearchEnd searchList(std::size_t rowCount, std::optional<std::size_t> selected,
                     const std::function<bool(std::size_t)>& matches, Prompter& prompter,
                     const std::function<bool()>& stopped, const std::function<bool()>& ready)
{
    if (rowCount == 0)
        return {};
    const std::size_t last = rowCount - 1;
    // The row after `row`; at the last row the user decides whether to go on from the top.
    const auto advance = [&](std::size_t row) -> std::optional<std::size_t> {
        if (row >= last)
            return prompter.askYesNo("Search again?", "End of list!") ? std::optional<std::size_t>(0) : std::nullopt;
        return row + 1;
    };
    std::optional<std::size_t> k = selected && *selected < rowCount ? advance(*selected) : std::optional<std::size_t>(0);
    if (!k) // declined before a row was walked over
        return {};
    if (ready && !ready())
        return {k, false, false};
    for (std::size_t visited = 0;; ++visited) {
        if (stopped && visited % 1024 == 0 && stopped())
            return {k, false, false};
        if (matches(*k))
            return {k, true, true};
        k = advance(*k);
        if (!k) // No at the end: the last row, just compared, stays selected
            return {last, false, true};
    }
}

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

} // namespace mw
