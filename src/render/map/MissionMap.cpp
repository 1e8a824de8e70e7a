#include "render/map/MissionMap.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "formats/common/Orientation.h"

namespace mw {

float yawOfSceneRotation(const std::array<float, 4>& q) { return yawOf(q, RotationLayout::Scene); }

std::array<MapPoint, 4> rectangle(MapPoint c, float w, float d, float yaw) { return rectangle(c, w, d, {std::sin(yaw), std::cos(yaw)}); }

std::array<MapPoint, 4> rectangle(MapPoint c, float w, float d, std::array<float, 2> yawSinCos)
{
    const auto [s, k] = yawSinCos;
    const float hw = std::fabs(w) / 2, hd = std::fabs(d) / 2;
    auto corner = [&](float u, float v) { return MapPoint{c.x + u * k + v * s, c.z - u * s + v * k}; };
    return {corner(-hw, -hd), corner(hw, -hd), corner(hw, hd), corner(-hw, hd)};
}

namespace {

bool drawable(const MapShape& s)
{
    // Damaged values (not finite, or beyond the world's limit) are left off the map rather than
    // shrink everything else to a point, as the 3D view leaves them out.
    const auto within = [](MapPoint p) { return withinWorld(p.x) && withinWorld(p.z); };
    return within(s.centre) && withinWorld(s.radius) && (!s.corners || std::all_of(s.outline.begin(), s.outline.end(), within));
}

void coverShapes(MissionMap& map)
{
    const MapArea all = areaOf(map, [](const MapShape&) { return true; });
    map.min = all.min;
    map.max = all.max;
}

} // namespace

MapArea areaOf(const MissionMap& map, const std::function<bool(const MapShape&)>& counts)
{
    MapArea area;
    bool first = true;
    auto cover = [&](MapPoint p, float r) {
        if (first) {
            area = {{p.x - r, p.z - r}, {p.x + r, p.z + r}};
            first = false;
            return;
        }
        area.min = {std::min(area.min.x, p.x - r), std::min(area.min.z, p.z - r)};
        area.max = {std::max(area.max.x, p.x + r), std::max(area.max.z, p.z + r)};
    };
    for (const MapShape& s : map.shapes) {
        if (!counts(s))
            continue;
        if (s.corners)
            for (const MapPoint& p : s.outline)
                cover(p, 0);
        else
            cover(s.centre, s.radius);
    }
    return area;
}

namespace {

std::optional<MapShape> shapeOf(ViewLayer layer, std::uint32_t row, const SceneCatalogue& scene,
                                const CacheLoadResult& cache, const CollisionLoadResult& tree)
{
    switch (layer) {
    case ViewLayer::Scene:
        return row < scene.entryCount() ? sceneShape(scene, row) : std::nullopt;
    case ViewLayer::Cache:
        return row < cache.records.size() ? cacheShape(cache, row) : std::nullopt;
    case ViewLayer::Collision:
        return row < tree.bodyCount() ? bodyShape(tree, row) : std::nullopt;
    case ViewLayer::Frames:
    case ViewLayer::Route:
        break;
    }
    return std::nullopt; // not on the map
}

} // namespace

std::optional<MapShape> sceneShape(const SceneCatalogue& scene, std::uint32_t row)
{
    const SceneRecord& r = scene.records[row];
    if (r.isScript || r.TranslationOffset == 0)
        return std::nullopt;
    const Vec3 t = scene.translation(row);
    MapShape s{ViewLayer::Scene, markerKindOf(scene, row), row, {t.x, t.z}};
    s.heading = {0, 0}; // no rotation chunk: no heading to show
    if (r.RotationOffset) {
        const auto [sin, cos] = yawSinCos(scene.rotation(row), RotationLayout::Scene);
        s.heading = {sin, cos};
    }
    return drawable(s) ? std::optional<MapShape>(s) : std::nullopt;
}

std::optional<MapShape> cacheShape(const CacheLoadResult& cache, std::uint32_t row)
{
    const CacheRecord& r = cache.records[row];
    if (r.TranslationOffset == 0)
        return std::nullopt; // a base record has no place
    MapShape s{ViewLayer::Cache, MarkerKind::Model, row, {r.position.x, r.position.z}};
    // The horizontal slider of the cache sets q1 and q2.
    s.corners = 4;
    s.outline = rectangle(s.centre, r.size.x, r.size.z, yawSinCos(r.rotation, RotationLayout::Cache));
    return drawable(s) ? std::optional<MapShape>(s) : std::nullopt;
}

std::optional<MapShape> bodyShape(const CollisionLoadResult& tree, std::uint32_t row)
{
    const CollisionBody& b = tree.body(row);
    MapShape s{ViewLayer::Collision, MarkerKind::Other, row, {b.position.x, b.position.z}};
    if (b.CollisionKindTag == "SP" || b.CollisionKindTag == "CY") {
        s.radius = b.size.x;
    } else {
        s.corners = 4;
        s.outline = rectangle(s.centre, b.size.x, b.size.z,
                              b.CollisionKindTag == "SC" ? std::array<float, 2>{0, 1} : yawSinCos(b.rotation, RotationLayout::Scene));
    }
    return drawable(s) ? std::optional<MapShape>(s) : std::nullopt;
}

MissionMap buildMissionMap(const SceneCatalogue& scene, const CacheLoadResult& cache, const CollisionLoadResult& tree)
{
    MissionMap map;
    map.shapes.reserve(scene.entryCount() + cache.records.size() + tree.bodyCount());
    const auto add = [&](const std::optional<MapShape>& s) {
        if (s)
            map.shapes.push_back(*s);
    };
    for (std::uint32_t row = 0; row < scene.entryCount(); ++row)
        add(sceneShape(scene, row));
    for (std::uint32_t row = 0; row < cache.records.size(); ++row)
        add(cacheShape(cache, row));
    for (std::uint32_t row = 0; row < tree.bodyCount(); ++row)
        add(bodyShape(tree, row));
    coverShapes(map);
    return map;
}

void updateMissionMap(MissionMap& map, ViewLayer layer, std::span<const std::uint32_t> rows, const SceneCatalogue& scene,
                      const CacheLoadResult& cache, const CollisionLoadResult& tree)
{
    // The shapes stand by layer, then by row.
    const auto before = [](const MapShape& s, std::pair<ViewLayer, std::uint32_t> key) {
        return std::pair(s.layer, s.row) < key;
    };
    for (std::uint32_t row : rows) {
        const auto at = std::lower_bound(map.shapes.begin(), map.shapes.end(), std::pair(layer, row), before);
        const bool there = at != map.shapes.end() && at->layer == layer && at->row == row;
        const auto shape = shapeOf(layer, row, scene, cache, tree);
        if (shape && there)
            *at = *shape;
        else if (shape)
            map.shapes.insert(at, *shape);
        else if (there)
            map.shapes.erase(at);
    }
    coverShapes(map);
}

} // namespace mw
