#include "commands/map/MissionMap.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/Latin1Text.h"

namespace mw {

float yawOfSceneRotation(const std::array<float, 4>& q) { return 2.0f * std::atan2(q[0], q[2]); }

std::array<MapPoint, 4> rectangle(MapPoint c, float w, float d, float yaw)
{
    const float s = std::sin(yaw), k = std::cos(yaw);
    const float hw = std::fabs(w) / 2, hd = std::fabs(d) / 2;
    auto corner = [&](float u, float v) { return MapPoint{c.x + u * k + v * s, c.z - u * s + v * k}; };
    return {corner(-hw, -hd), corner(hw, -hd), corner(hw, hd), corner(-hw, hd)};
}

namespace {

MarkerKind markerKind(std::uint32_t typeCode, bool hasSound, std::string_view model)
{
    switch (typeCode) {
    case typecode::Light:
        return MarkerKind::Light;
    case typecode::Sound: // cars get the same code from their definition; sounds have a sound chunk
        return hasSound ? MarkerKind::Sound : MarkerKind::Car;
    case typecode::Human:
    case typecode::Tommy:
        return MarkerKind::Human;
    default:
        break;
    }
    if (model.empty())
        return MarkerKind::Other;
    return containsIgnoringCase(model, "build") ? MarkerKind::Building : MarkerKind::Model;
}

} // namespace

MarkerKind markerKindOf(const SceneEntry& e)
{
    return markerKind(e.typeCode, e.SoundFieldOffset[1] || !e.soundFileName.empty(), e.model);
}

MissionMap buildMissionMap(const SceneCatalogue& scene, const CacheLoadResult& cacheFile,
                           const CollisionLoadResult& tree)
{
    const auto& cache = cacheFile.records;
    const std::size_t bodies = tree.bodyCount();
    MissionMap map;
    map.shapes.reserve(scene.entryCount() + cache.size() + bodies);
    for (std::uint32_t row = 0; row < scene.entryCount(); ++row) {
        const SceneRecord& r = scene.records[row];
        if (r.isScript || r.TranslationOffset == 0)
            continue;
        const bool hasSound = r.sound != SceneRecord::NoRow &&
                              (scene.sounds[r.sound].KindOffset || scene.sounds[r.sound].fileName.length);
        const Vec3 t = scene.translation(row);
        MapShape s{MapLayer::Scene, markerKind(r.typeCode, hasSound, scene.model(row)), row, {t.x, t.z}};
        s.heading = {0, 0}; // no rotation chunk: no heading to show
        if (r.RotationOffset) {
            const float yaw = yawOfSceneRotation(scene.rotation(row));
            s.heading = {std::sin(yaw), std::cos(yaw)};
        }
        map.shapes.push_back(s);
    }
    for (std::uint32_t row = 0; row < cache.size(); ++row) {
        const CacheRecord& r = cache[row];
        if (r.TranslationOffset == 0)
            continue; // a base record has no place
        MapShape s{MapLayer::Cache, MarkerKind::Model, row, {r.position.x, r.position.z}};
        // The horizontal slider of the cache sets q1 and q2.
        const float yaw = 2.0f * std::atan2(r.rotation[0], r.rotation[1]);
        s.corners = 4;
        s.outline = rectangle(s.centre, r.size.x, r.size.z, yaw);
        map.shapes.push_back(s);
    }
    for (std::uint32_t row = 0; row < bodies; ++row) {
        const CollisionBody& b = tree.body(row);
        MapShape s{MapLayer::Collision, MarkerKind::Other, row, {b.position.x, b.position.z}};
        if (b.CollisionKindTag == "SP" || b.CollisionKindTag == "CY") {
            s.radius = b.size.x;
        } else {
            const float yaw = b.CollisionKindTag == "SC" ? 0.0f : yawOfSceneRotation(b.rotation);
            s.corners = 4;
            s.outline = rectangle(s.centre, b.size.x, b.size.z, yaw);
        }
        map.shapes.push_back(s);
    }

    bool first = true;
    auto cover = [&](MapPoint p, float r) {
        if (first) {
            map.min = {p.x - r, p.z - r}, map.max = {p.x + r, p.z + r};
            first = false;
            return;
        }
        map.min = {std::min(map.min.x, p.x - r), std::min(map.min.z, p.z - r)};
        map.max = {std::max(map.max.x, p.x + r), std::max(map.max.z, p.z + r)};
    };
    // Damaged values (not finite) are left off the map rather than spoil its area.
    std::erase_if(map.shapes, [](const MapShape& s) {
        const auto finite = [](MapPoint p) { return std::isfinite(p.x) && std::isfinite(p.z); };
        return !finite(s.centre) || !std::isfinite(s.radius) ||
               (s.corners && !std::all_of(s.outline.begin(), s.outline.end(), finite));
    });
    for (const MapShape& s : map.shapes) {
        if (s.corners)
            for (const MapPoint& p : s.outline)
                cover(p, 0);
        else
            cover(s.centre, s.radius);
    }
    return map;
}

} // namespace mw
