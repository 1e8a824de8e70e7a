#pragma once
// A 3 x 3 rotation (or any linear map) whose columns are the images of the x, y and z axes.

#include "foundation/geometry/Vec3.h"

namespace mw {

struct Mat3 {
    Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}; // columns

    Vec3 operator*(Vec3 v) const { return x * v.x + y * v.y + z * v.z; }
    Mat3 operator*(const Mat3& m) const { return {*this * m.x, *this * m.y, *this * m.z}; }
    Mat3 transposed() const { return {{x.x, y.x, z.x}, {x.y, y.y, z.y}, {x.z, y.z, z.z}}; }
    // Rows r0, r1, r2.
    static Mat3 fromRows(Vec3 r0, Vec3 r1, Vec3 r2) { return Mat3{r0, r1, r2}.transposed(); }
    // A turn by `radians` about the vertical axis: +z goes towards +x.
    static Mat3 aboutY(float radians)
    {
        const float s = std::sin(radians), c = std::cos(radians);
        return {{c, 0, -s}, {0, 1, 0}, {s, 0, c}};
    }
};

// How far a box reaches along x, y and z from its centre, given its axes (columns) and its half
// extents along them: the half size of the axis-aligned box around it.
inline Vec3 reachOf(const Mat3& axes, Vec3 half)
{
    return {std::fabs(axes.x.x) * half.x + std::fabs(axes.y.x) * half.y + std::fabs(axes.z.x) * half.z,
            std::fabs(axes.x.y) * half.x + std::fabs(axes.y.y) * half.y + std::fabs(axes.z.y) * half.z,
            std::fabs(axes.x.z) * half.x + std::fabs(axes.y.z) * half.y + std::fabs(axes.z.z) * half.z};
}

} // namespace mw
