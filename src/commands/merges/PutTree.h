#pragma once
// "Put&Tree": the chosen kind of collision bodies becomes placeholder model objects of scene2.bin
// ("!!Testklz.i3d"), named by their list entries, placed and sized like the bodies.

#include <string>
#include <utility>
#include <vector>

#include "commands/merges/SceneMerge.h"
#include "formats/collision/CollisionFile.h"

namespace mw {

inline constexpr const char* PlaceholderObjectModel = "!!Testklz.i3d";

// The PutTreeKind values, in the order of the dialog's options.
inline constexpr const char* PutTreeKinds[] = {"simple", "rotation", "rotation2", "cylinder", "sphere", "all"};

// The list rows [first, last) of the bodies of a kind; empty for an unknown kind or one without
// bodies.
std::pair<std::size_t, std::size_t> putTreeRange(const CollisionLoadResult& tree, const std::string& kind);

std::vector<std::uint8_t> placeholderChunks(const CollisionLoadResult& tree, std::size_t first, std::size_t last);

// The choice of the Put tree dialog: one of PutTreeKinds, and whether to start from the saved scene.
struct PutTreeChoice {
    std::string kind;
    bool useSavedScene = false;
};

// One undo step.
Outcome putTree(Mission& mission, const PutTreeChoice& choice, Prompter& prompter);

} // namespace mw
