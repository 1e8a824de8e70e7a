#pragma once
// Names and texts of the mission files are single-byte Latin-1. Letter case is ignored the same way
// everywhere a name is looked for or compared: A-Z and the accented capitals fold to lower case.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mw {

// Whether `text` contains `needle`, letter case ignored.
bool containsIgnoringCase(std::string_view text, std::string_view needle);

// Whether two names are the same, letter case ignored (as the insert command compares names).
bool equalIgnoringCase(std::string_view a, std::string_view b);

// The text with every letter folded to lower case: equal for names equalIgnoringCase() calls equal.
std::string foldedCase(std::string_view text);

// Names found letter case ignored, each with a value (a row), through a hash of their folded
// letters: no name is copied, so the texts must outlive the set.
class FoldedNameSet {
public:
    explicit FoldedNameSet(std::size_t expected = 0);
    // The value of a name already in the set that equals `name`; otherwise `name` goes in with
    // `value`, and nothing is returned.
    std::optional<std::uint32_t> insert(std::string_view name, std::uint32_t value);
    bool contains(std::string_view name) const { return value(name).has_value(); }
    // The value stored with a name equal to `name`.
    std::optional<std::uint32_t> value(std::string_view name) const;

private:
    // A name's characters and length; no characters: a free slot.
    struct Slot {
        const char* chars = nullptr;
        std::uint32_t length = 0;
        std::uint32_t hash = 0;
        std::uint32_t value = 0;
        std::string_view name() const { return {chars, length}; }
    };
    static std::uint32_t hashOf(std::string_view name);
    std::size_t slotOf(std::string_view name, std::uint32_t hash) const; // the name's slot, or a free one
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

// The text in UTF-8, for what leaves the program as text (reports, tables): each byte is the
// Latin-1 character of its code.
std::string utf8FromLatin1(std::string_view text);

// A name read from a file as it is shown in a report or a table: UTF-8, with every control byte
// (0x00-0x1F, 0x7F-0x9F) written as \xNN, so that no NUL or escape sequence reaches a terminal.
std::string shownText(std::string_view text);

} // namespace mw
