#pragma once
// How four rotation floats become an orientation: the one place, used by the map, the 3D view, its
// picking and the commands that turn objects.
//
// The scene's rotation chunk (and a model frame, and a collision body's derived rotation) holds a
// unit quaternion as (y, z, w, x): the first slider writes q1 = sin V and q3 = cos V, a turn by 2V
// about the vertical axis, and the map's heading is 2 atan2(q1, q3); the collision reader derives
// (|y|, |z|, w, |x|) from a box's matrix. The cache's record holds (y, w, z, x): its first slider
// writes q1 and q2, and its heading is 2 atan2(q1, q2). The files leave open which of the last two
// components is x and which z, and the sign of the turn: we take q4 as x (the second slider tilts
// about the x axis) and a positive turn about y as taking +z towards +x, the way the map draws a
// heading (sin yaw, cos yaw).

#include <array>

#include "foundation/geometry/Mat3.h"

namespace mw {

enum class RotationLayout { Scene, Cache };

struct Quaternion {
    float w = 1, x = 0, y = 0, z = 0;
};

Quaternion quaternionOf(const std::array<float, 4>& q, RotationLayout layout);
// The four floats in the layout's order for a quaternion (the inverse of quaternionOf).
std::array<float, 4> floatsOf(const Quaternion& q, RotationLayout layout);
// The rotation as a matrix; a quaternion of length 0 or not finite gives no rotation.
Mat3 orientationOf(const std::array<float, 4>& q, RotationLayout layout);
// The angle about the vertical axis, in radians: 2 atan2(y, w).
float yawOf(const std::array<float, 4>& q, RotationLayout layout);
// The same angle as {sin, cos}, from the components themselves (no angle is taken and turned back):
// what the map draws for tens of thousands of objects.
std::array<float, 2> yawSinCos(const std::array<float, 4>& q, RotationLayout layout);

} // namespace mw
