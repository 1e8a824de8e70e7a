#pragma once
// Names and texts of the mission files are single-byte Latin-1. Letter case is ignored the same way
// everywhere a name is looked for or compared: A-Z and the accented capitals fold to lower case.

#include <string>
#include <string_view>

namespace mw {

// Whether `text` contains `needle`, letter case ignored.
bool containsIgnoringCase(std::string_view text, std::string_view needle);

// Whether two names are the same, letter case ignored (as the insert command compares names).
bool equalIgnoringCase(std::string_view a, std::string_view b);

// The text with every letter folded to lower case: equal for names equalIgnoringCase() calls equal.
std::string foldedCase(std::string_view text);

// The text in UTF-8, for what leaves the program as text (reports, tables): each byte is the
// Latin-1 character of its code.
std::string utf8FromLatin1(std::string_view text);

} // namespace mw
