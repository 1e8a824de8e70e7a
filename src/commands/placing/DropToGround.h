#pragma once
// Drop to ground: each item moves straight down until its translation rests on the first
// collision-body surface below it: the boxes of each kind and the spheres of the collision file
// (cylinders carry no height in the file: they catch nothing). An item resting on a surface, or
// within a millimetre above it, stays; an item inside a body falls through to the surface below.

#include <cstdint>
#include <optional>
#include <vector>

#include "commands/placing/Placing.h"
#include "formats/collision/BodyShape.h"

namespace mw {

// The surfaces things land on, with a grid over the ground plan so that a drop looks only at the
// bodies under it.
class Ground {
public:
    // The ground plan drops will fall in: x and z from, to.
    struct Area {
        float x0, z0, x1, z1;
    };
    // The bodies whose ground plan meets `area` (all of them without one).
    explicit Ground(const CollisionLoadResult& tree, std::optional<Area> area = std::nullopt);
    // The height of the first surface straight down from `from` (a millimetre above counts), or
    // nothing when there is none.
    std::optional<float> below(Vec3 from) const;

private:
    struct Cell {
        int x = 0, z = 0;
    };
    Cell cellOf(float x, float z) const;

    std::vector<BodyShape> m_shapes;
    std::vector<std::uint32_t> m_large;              // bodies across too many cells: tried by every drop
    std::vector<std::uint32_t> m_cellStart, m_cells; // the bodies of each cell, cell after cell
    float m_minX = 0, m_minZ = 0, m_cellSize = 1;
    int m_columns = 0, m_rows = 0;
};

struct Dropped {
    std::size_t moved = 0;        // found a surface (those already on one included)
    std::size_t nothingBelow = 0; // stayed where they were
};

// One step for every item that found a surface; refused (with the counts) when none did.
Result<Dropped> dropToGround(Mission& mission, const PlacedItems& items, Prompter& prompter);

} // namespace mw
