#pragma once
// The collision file's load command after the file was chosen: the mission checks, the placeholder
// cube model, and the reader. Everything it has to say goes through the prompter.

#include <optional>

#include "missionfiles/CollisionFile.h"
#include "workspace/Workspace.h"

namespace mw {

class Prompter;
class Progress;

// Nothing when a check stopped the load (the collision list then stays as it was).
std::optional<CollisionLoadResult> loadTreeOfMission(const Workspace& ws, const SceneCatalogue& scene,
                                                     Prompter& prompter, Progress* progress);

} // namespace mw
