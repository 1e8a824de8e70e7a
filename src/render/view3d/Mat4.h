#pragma once
// A 4 x 4 matrix for the 3D view, column-major as OpenGL takes it: the camera's view and its
// projection.

#include <array>

#include "foundation/geometry/Mat3.h"

namespace mw {

struct Mat4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& at(int row, int column) { return m[static_cast<std::size_t>(column * 4 + row)]; }
    float at(int row, int column) const { return m[static_cast<std::size_t>(column * 4 + row)]; }

    Mat4 operator*(const Mat4& b) const
    {
        Mat4 r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                float sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += at(i, k) * b.at(k, j);
                r.at(i, j) = sum;
            }
        return r;
    }
    // A point (w = 1) through the matrix, divided by its w.
    Vec3 transformPoint(Vec3 p) const
    {
        const float x = at(0, 0) * p.x + at(0, 1) * p.y + at(0, 2) * p.z + at(0, 3);
        const float y = at(1, 0) * p.x + at(1, 1) * p.y + at(1, 2) * p.z + at(1, 3);
        const float z = at(2, 0) * p.x + at(2, 1) * p.y + at(2, 2) * p.z + at(2, 3);
        const float w = at(3, 0) * p.x + at(3, 1) * p.y + at(3, 2) * p.z + at(3, 3);
        return w != 0 ? Vec3{x / w, y / w, z / w} : Vec3{x, y, z};
    }
    // The clip-space w of a point: positive in front of a camera's projection.
    float clipW(Vec3 p) const { return at(3, 0) * p.x + at(3, 1) * p.y + at(3, 2) * p.z + at(3, 3); }
};

} // namespace mw
