#pragma once
// The mission seen from above: the scene objects, cached objects and collision bodies of the loaded
// files as plain shapes on the horizontal x-z plane. A pure function of the readers' results; the
// map view only draws the shapes and maps clicks back to list rows.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/scene/SceneCatalogue.h"
#include "render/common/ItemKinds.h"
#include "render/common/Layers.h"

namespace mw {

struct MapPoint {
    float x = 0, z = 0;
    bool operator==(const MapPoint&) const = default;
};

struct MapShape {
    ViewLayer layer = ViewLayer::Scene; // scene objects, cached objects or collision bodies
    MarkerKind kind = MarkerKind::Other;
    std::uint32_t row = 0; // the entry's row in its list ("All", "Cache" or "Tree")
    MapPoint centre;
    MapPoint heading;             // scene objects: the unit direction they face (0, 0: none)
    std::uint8_t corners = 0;     // 4: `outline` is a rectangle; 0: a circle of `radius` (or a marker)
    std::array<MapPoint, 4> outline{};
    float radius = 0;
};

struct MissionMap {
    std::vector<MapShape> shapes; // scene markers, then cache outlines, then collision bodies
    MapPoint min, max;            // the area all shapes cover (min = max = 0 when there are none)
};

// The area the shapes that count cover (min = max = 0 when none does).
struct MapArea {
    MapPoint min, max;
};
MapArea areaOf(const MissionMap& map, const std::function<bool(const MapShape&)>& counts);

// The angle about the vertical axis (radians) of a rotation of the scene's rotation chunk, whose
// components q1 and q3 the horizontal slider sets: twice atan2(q1, q3).
float yawOfSceneRotation(const std::array<float, 4>& q);

// A w x d rectangle about `centre`, turned by `yaw`.
std::array<MapPoint, 4> rectangle(MapPoint centre, float w, float d, float yaw);
// The same, turned by the yaw given as {sin, cos}.
std::array<MapPoint, 4> rectangle(MapPoint centre, float w, float d, std::array<float, 2> yawSinCos);

MissionMap buildMissionMap(const SceneCatalogue& scene, const CacheLoadResult& cache, const CollisionLoadResult& tree);

// The shape of one entry of each layer; nothing for an entry without a place on the map.
std::optional<MapShape> sceneShape(const SceneCatalogue& scene, std::uint32_t row);
std::optional<MapShape> cacheShape(const CacheLoadResult& cache, std::uint32_t row);
std::optional<MapShape> bodyShape(const CollisionLoadResult& tree, std::uint32_t row);

// The shapes of the given rows of one layer made again from the readers (after a save wrote them).
void updateMissionMap(MissionMap& map, ViewLayer layer, std::span<const std::uint32_t> rows, const SceneCatalogue& scene,
                      const CacheLoadResult& cache, const CollisionLoadResult& tree);

} // namespace mw
