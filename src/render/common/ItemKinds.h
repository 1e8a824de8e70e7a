#pragma once
// What kind of thing a scene object is, for the colour and shape both views give it, and the
// colours of the kinds, the cached objects and the collision bodies: one place, below the map and
// the 3D view, so that both show a lamp as a lamp in the same yellow.

#include <cstdint>

#include "formats/scene/SceneCatalogue.h"

namespace mw {

enum class MarkerKind : std::uint8_t { Light, Sound, Human, Car, Building, Model, Other };
inline constexpr std::size_t MarkerKindCount = 7;

MarkerKind markerKindOf(const SceneEntry& entry);
// The same from the catalogue's record, without reading the whole entry.
MarkerKind markerKindOf(const SceneCatalogue& scene, std::uint32_t row);

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};
Rgb markerColour(MarkerKind kind);
inline constexpr Rgb CacheColour{150, 110, 200};
inline constexpr Rgb CollisionColour{255, 120, 0};

// A colour as the 3D view's instance data holds it: red in the lowest byte.
std::uint32_t packRgba(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255);
inline std::uint32_t packRgba(Rgb c, std::uint8_t a = 255) { return packRgba(c.r, c.g, c.b, a); }

} // namespace mw
