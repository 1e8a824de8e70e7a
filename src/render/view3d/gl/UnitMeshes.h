#pragma once
// The unit meshes the 3D view draws every item with, as vertex data: a box and an upright cylinder
// from -0.5 to 0.5, a sphere of diameter 1, a marker (a double pyramid) 1 across; each with its
// faces (position and normal per vertex, triangles counter-clockwise seen from outside in the
// files' own frame) and the edges drawn over them (line pairs).

#include <cstdint>
#include <vector>

#include "render/view3d/Scene3D.h"

namespace mw {

struct UnitMesh {
    std::vector<float> vertices; // x y z nx ny nz
    std::vector<std::uint16_t> triangles;
    std::vector<float> edgeVertices; // x y z
    std::vector<std::uint16_t> edges;
};

UnitMesh unitMesh(Mesh3D mesh);

} // namespace mw
