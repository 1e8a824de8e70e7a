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

FoldedNameSet::FoldedNameSet(std::size_t expected)
{
    std::size_t slots = 16;
    while (slots < 2 * expected)
        slots *= 2;
    m_slots.resize(slots);
}

std::uint32_t FoldedNameSet::hashOf(std::string_view name)
{
    std::uint64_t h = 0xCBF29CE484222325ull; // FNV-1a over the folded letters
    for (const char c : name)
        h = (h ^ foldCase(static_cast<unsigned char>(c))) * 0x100000001B3ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

std::size_t FoldedNameSet::slotOf(std::string_view name, std::uint32_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (!slot.chars || (slot.hash == hash && equalIgnoringCase(slot.name(), name)))
            return i;
    }
}

void FoldedNameSet::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    for (const Slot& slot : old)
        if (slot.chars)
            m_slots[slotOf(slot.name(), slot.hash)] = slot;
}

std::optional<std::uint32_t> FoldedNameSet::insert(std::string_view name, std::uint32_t value)
{
    if (2 * (m_count + 1) > m_slots.size())
        grow();
    const std::uint32_t hash = hashOf(name);
    Slot& slot = m_slots[slotOf(name, hash)];
    if (slot.chars)
        return slot.value;
    // An empty name still needs characters to mark its slot as used.
    slot = {name.data() ? name.data() : "", static_cast<std::uint32_t>(name.size()), hash, value};
    ++m_count;
    return std::nullopt;
}

std::optional<std::uint32_t> FoldedNameSet::value(std::string_view name) const
{
    const Slot& slot = m_slots[slotOf(name, hashOf(name))];
    return slot.chars ? std::optional<std::uint32_t>(slot.value) : std::nullopt;
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

std::string shownText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
            constexpr char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[code >> 4];
            out += digits[code & 0xF];
        } else {
            out += utf8FromLatin1(std::string_view(&c, 1));
        }
    }
    return out;
}

} // namespace mw
