#pragma once
// Deleting a scene object: its object chunk and, where it has one, its definition chunk leave
// scene2.bin in one rewrite, every enclosing size corrected; the scene is reloaded with the entry
// that followed the deleted one selected.

#include <cstdint>

namespace mw {

class Mission;
class Prompter;

namespace deletemsg {
inline constexpr const char* NotDeletable = "Could not be deleted!";
inline constexpr const char* Title = "Delete Model";
} // namespace deletemsg

enum class DeleteResult { Deleted, Refused, Stale };

DeleteResult deleteObject(Mission& mission, std::uint32_t row, Prompter& prompter);

} // namespace mw
