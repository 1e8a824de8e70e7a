#pragma once
// Where a collision body stands in the world, from its record: an axis-aligned box from its minimum
// and maximum; a rotated box about its position field, its size the maximum less the minimum and its
// axes the record's matrix (rows m00 m01 m02 ..., applied to column vectors); a vertically rotated
// box about its position, sized as the list shows it and turned about the vertical axis by its
// rotation values r and w as the scene's rotation chunk holds them; a sphere; an upright cylinder
// (the file gives it no height: who draws or stands things on it decides its span).

#include <array>
#include <cstddef>
#include <optional>

#include "formats/collision/CollisionFile.h"
#include "foundation/geometry/Ray.h"

namespace mw {

struct BodyShape {
    enum class Kind { Box, Sphere, Cylinder };
    Kind kind = Kind::Box;
    OrientedBox box;   // Box
    Vec3 centre;       // Sphere; Cylinder: x and z
    float radius = 0;  // Sphere, Cylinder

    // The eight corners of a box, each the centre plus or minus each half axis.
    std::array<Vec3, 8> corners() const;
};

// Nothing for a row the file does not hold whole, or whose values are not finite.
std::optional<BodyShape> bodyShapeOf(const CollisionLoadResult& tree, std::size_t row);

} // namespace mw
