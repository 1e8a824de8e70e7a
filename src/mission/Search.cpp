#include "mission/Search.h"

#include "foundation/seams/Prompter.h"

namespace mw {

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

} // namespace mw
