#pragma once
// What Put cache and Put tree share: the checks before a merge, the backup scene2.bin + "-save.qra",
// and the new object chunks appended to the end of the objects section in one rewrite, after which
// the scene is reloaded with the first added object selected.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

inline constexpr const char* BackupSuffix = "-save.qra";
inline constexpr const char* InsertedStatus = " **** Inserted ****";

// One undo step named `stepName`: writes the scene to start from (the loaded bytes, or the saved
// copy when given) as the backup, then the scene with `objects` (whole object chunks) behind its
// last object; then reloads the scene with the first added object selected.
Outcome appendObjects(Mission& mission, const char* stepName, SharedImage saved, std::vector<std::uint8_t> objects,
                      Prompter& prompter);

} // namespace mw
