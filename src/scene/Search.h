#pragma once
// Searching a list: from the row after the selected one to the end, then, when the user wants,
// again from the top. The search finds the matching row directly; the window then selects it, so
// the user ends up where a row-by-row walk would have stopped.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace mw {

class Prompter;

// The row to select: the first row that matches, or the row reached when `stopped` said so. Nothing
// when the list is empty or the user declined to search again at the end of the list (the
// selection then stays as it was). `stopped` is polled now and then, so a stop button can be reached.
std::optional<std::size_t> searchList(std::size_t rowCount, std::optional<std::size_t> selected,
                                      const std::function<bool(std::size_t)>& matches, Prompter& prompter,
                                      const std::function<bool()>& stopped = {});

// Whether `text` contains `needle`, letter case ignored (texts are single-byte Latin-1).
bool containsIgnoringCase(std::string_view text, std::string_view needle);

// A number's text rounded to one decimal with the "0.0" pattern (halves away from zero), e.g.
// "12.34" -> "12.3", "-0.04" -> "0.0", "7" -> "7.0". A text that is not a number stays as it is.
std::string formatOneDecimal(std::string_view text);

} // namespace mw
