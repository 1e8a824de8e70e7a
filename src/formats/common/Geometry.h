#pragma once
// The one vector type of the formats: a position, a size or a direction as three 32-bit floats, as
// every file of the game stores them.

namespace mw {

struct Vec3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const Vec3&) const = default;
};

} // namespace mw
