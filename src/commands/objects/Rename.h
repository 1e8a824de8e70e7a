#pragma once
// Renaming a scene object so that the scene stays consistent: its name chunk, the name of its
// definition (which is found by the object's name, or by the part of its name before a "."), and
// the link of every object linked to it change together, in one rewrite and one step. Scripts that
// mention the old name in their text are left as they are.

#include <cstdint>
#include <string>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

namespace renamemsg {
inline constexpr const char* Title = "Rename";
inline constexpr const char* NotAnObject = "Only a scene object can be renamed";
inline constexpr const char* BadName = "A name is 1 to 50 characters, without a zero byte";
inline constexpr const char* Taken = "Another object has this name already";
inline constexpr const char* DotWithDefinition =
    "An object with a definition takes a name without \".\": the part before a \".\" names the definition's owner";
} // namespace renamemsg

// Renames the object of `row` (letter case counts as the insert command counts it: a name another
// object has in any letter case is refused). The same name again changes nothing.
Outcome renameObject(Mission& mission, std::uint32_t row, const std::string& name, Prompter& prompter);

} // namespace mw
