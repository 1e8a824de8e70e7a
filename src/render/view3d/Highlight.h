#pragma once
// How the 3D view marks what is selected: each item in its own shape a little larger, drawn over
// everything in the highlight colour, and a light's reach as a circle about it on its level.

#include <array>
#include <functional>
#include <span>
#include <vector>

#include "formats/scene/SceneCatalogue.h"
#include "render/view3d/Scene3D.h"

namespace mw {

struct Highlight3D {
    std::array<std::vector<Instance3D>, 4> items; // by Mesh3D
    std::vector<Vec3> lines;                      // pairs: range circles and the like
    std::array<std::vector<Instance3D>, 4> hover; // the item a click would pick, by Mesh3D
};

// The colour the selection is drawn in.
inline constexpr float HighlightRgb[3] = {1.0f, 0.85f, 0.0f};

// Where an item is drawn now (the scene's instance, or where a drag shows it); nothing when it is
// not drawn.
using InstanceLookup = std::function<const Instance3D*(ItemRef)>;

Highlight3D highlightOf(const Scene3D& scene, std::span<const ItemRef> items, const SceneCatalogue& catalogue,
                        const InstanceLookup& drawnAt);
// The outline of the item under the cursor, added to a highlight.
void addHover(Highlight3D& highlight, const Scene3D& scene, ItemRef item, const InstanceLookup& drawnAt);

} // namespace mw
