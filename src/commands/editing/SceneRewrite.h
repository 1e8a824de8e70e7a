#pragma once
// The one writer of scene2.bin changes that alter its length (script saves, deletion, insertion,
// the merges of cache and collision data, the add-in's scene block): it splices the loaded scene's
// bytes, corrects every enclosing size field, loads the result with the scene loader and writes it
// through the mission's whole-file path only when it loads cleanly.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "formats/scene/SceneSplice.h"
#include "mission/Mission.h"

namespace mw {

class Prompter;

inline constexpr const char* WouldDamageScene = "****** The change would damage scene2.bin - nothing written! ******";

// The splices apply to the mission's kept scene bytes. `failureText`, when given, is the message of
// a failed write (with the error's description as its title). The caller reloads the scene.
WriteOutcome rewriteScene(Mission& mission, std::span<const SceneSplice> splices, Prompter& prompter,
                          const char* failureText = nullptr);

// The same with the splices applied to `base` instead of the kept bytes (a saved copy of the scene
// that the command starts from).
WriteOutcome rewriteSceneFrom(Mission& mission, std::span<const std::uint8_t> base,
                              std::span<const SceneSplice> splices, Prompter& prompter,
                              const char* failureText = nullptr);

} // namespace mw
