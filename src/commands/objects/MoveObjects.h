#pragma once
// Moving many scene objects at once: the same offset added to the translation of each, written in
// place as one undo step. Free-standing scripts and objects without a translation are left out.

#include <cstdint>
#include <span>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

Outcome moveObjects(Mission& mission, std::span<const std::uint32_t> rows, Vec3 offset, Prompter& prompter);

} // namespace mw
