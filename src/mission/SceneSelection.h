#pragma once
// Which rows of "All", "Scripts" and "Things" are selected: after the scene loader ran, row 0 on a
// fresh load, the rows a writer asks to keep after a reload; after a command that adds objects, the
// objects it added.

#include <cstdint>
#include <optional>
#include <vector>

namespace mw {

class SceneCatalogue;
struct Workspace;

struct SceneSelection {
    std::optional<std::uint32_t> all, scripts, things; // the current row of each list
    std::vector<std::uint32_t> more;                   // rows of "All" selected beside `all`
    bool operator==(const SceneSelection&) const = default;
};

enum class SceneLoadKind { Fresh, Reload };

// The rows a reload of the scene keeps (the workspace records them as ReloadIndex, ObjectIndex,
// ScriptListIndex and PlainListIndex while it runs).
struct KeptRows {
    std::uint32_t all = 0;      // the "All" row to select; 0: `fallback`
    std::uint32_t fallback = 0; // the "All" row when `all` is 0 or past the end
    std::uint32_t scripts = 0;  // "Scripts"
    std::uint32_t things = 0;   // "Things"
    // Rows of "All" selected beside `all`, kept as they are (an undo that moved no row keeps them).
    std::vector<std::uint32_t> more;
};

// The rows after a load. A reload with rows to keep selects them where the scene still has them;
// one without selects the remembered "All" row, or the first free-standing script when none is
// remembered. Records the rows in the workspace and clears KeepSelection.
SceneSelection selectionAfterLoad(const SceneCatalogue& catalogue, Workspace& ws, SceneLoadKind kind,
                                  const std::optional<KeptRows>& keep);

} // namespace mw
