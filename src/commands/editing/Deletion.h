#pragma once
// Deleting scene objects: each object chunk and, where it has one, its definition chunk leave
// scene2.bin in one rewrite, every enclosing size corrected; the scene is reloaded with the entry
// that followed the (first) deleted one selected.

#include <cstdint>
#include <span>
#include <string>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

namespace deletemsg {
inline constexpr const char* NotDeletable = "Could not be deleted!";
inline constexpr const char* Title = "Delete Model";
} // namespace deletemsg


Outcome deleteObject(Mission& mission, std::uint32_t row, Prompter& prompter);

// Many objects in one rewrite and one undo step; free-standing scripts among the rows are left out.
// With `ask`, "Delete N objects?" (title "Delete Model") comes first; No deletes nothing.
// `stepName` names the step (default "Delete N objects").
Outcome deleteObjects(Mission& mission, std::span<const std::uint32_t> rows, Prompter& prompter, bool ask = true,
                           const std::string& stepName = {});

// "N objects", "1 object".
std::string objectCount(std::size_t n);

} // namespace mw
