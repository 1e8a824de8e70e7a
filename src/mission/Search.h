#pragma once
// Searching a list as a walk from row to row: from the row after the selected one to the end, then,
// when the user wants, again from the top. The search finds the row it ends on directly; the window
// then selects it, so the user ends up where a row-by-row walk would have stopped.

#include <cstddef>
#include <functional>
#include <optional>

namespace mw {

class Prompter;

struct SearchEnd {
    // The row the walk ended on, to be selected; nothing: the selection stays as it was.
    std::optional<std::size_t> row;
    bool found = false;    // `row` matches
    bool examined = false; // `row` was compared (a translation search shows its values as compared)
};

// The walk: the first step selects the row after `selected` (asking "Search again?" at the last row);
// then `ready`, when given, may end the search on that row (a translation search checks its fields
// only then); then every row is compared until one matches. Answering No at the end of the list
// leaves the last row selected, or the selection as it was when nothing was walked over. `stopped`
// is polled now and then, so a stop button can be reached; it ends the walk on the row reached.
SearchEnd searchList(std::size_t rowCount, std::optional<std::size_t> selected,
                     const std::function<bool(std::size_t)>& matches, Prompter& prompter,
                     const std::function<bool()>& stopped = {}, const std::function<bool()>& ready = {});

} // namespace mw
