#include "foundation/text/Latin1Text.h"

#include <algorithm>

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

// A function object, so the comparison is inlined into the searches.
constexpr auto sameLetter = [](char a, char b) {
    return foldCase(static_cast<unsigned char>(a)) == foldCase(static_cast<unsigned char>(b));
};

} // namespace

bool containsIgnoringCase(std::string_view text, std::string_view needle)
{
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), sameLetter) != text.end();
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameLetter);
}

std::string foldedCase(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return folded;
}

std::string utf8FromLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

} // namespace mw
