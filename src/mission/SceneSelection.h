#pragma once
// Which rows of "All", "Scripts" and "Things" are selected after the scene loader ran: row 0 on a
// fresh load, the remembered rows after a reload that a writer asked for with KeepSelection.

#include <cstdint>
#include <optional>

namespace mw {

class SceneCatalogue;
struct Workspace;

struct SceneSelection {
    std::optional<std::uint32_t> all, scripts, things;
};

enum class SceneLoadKind { Fresh, Reload };

// Applies the remembered rows of the workspace and clears KeepSelection.
SceneSelection selectionAfterLoad(const SceneCatalogue& catalogue, Workspace& ws, SceneLoadKind kind);

} // namespace mw
