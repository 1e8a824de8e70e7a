#include "render/common/ItemKinds.h"

#include "foundation/text/Latin1Text.h"

namespace mw {

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

MarkerKind markerKindOf(const SceneCatalogue& scene, std::uint32_t row)
{
    const SceneRecord& r = scene.records[row];
    const bool hasSound =
        r.sound != SceneRecord::NoRow && (scene.sounds[r.sound].KindOffset || scene.sounds[r.sound].fileName.length);
    return markerKind(r.typeCode, hasSound, scene.model(row));
}

Rgb markerColour(MarkerKind kind)
{
    switch (kind) {
    case MarkerKind::Light: return {230, 180, 0};
    case MarkerKind::Sound: return {0, 160, 200};
    case MarkerKind::Human: return {220, 40, 40};
    case MarkerKind::Car: return {40, 60, 220};
    case MarkerKind::Building: return {120, 80, 40};
    case MarkerKind::Model: return {40, 150, 40};
    case MarkerKind::Other: break;
    }
    return {120, 120, 120};
}

std::uint32_t packRgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16) |
           (static_cast<std::uint32_t>(a) << 24);
}

} // namespace mw
