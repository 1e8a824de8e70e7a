#pragma once
// A ray and where it meets the shapes the views draw and the placing commands stand things on: boxes
// (axis-aligned or turned), spheres and upright cylinders. Each answer is the distance along the ray
// to the first point of the shape in front of the origin (the origin itself when it is inside).

#include <optional>

#include "foundation/geometry/Mat3.h"

namespace mw {

struct Ray {
    Vec3 origin;
    Vec3 direction; // of length 1
    Vec3 at(float t) const { return origin + direction * t; }
};

// A box with its centre, its axes (orthonormal columns) and its half extents along them.
struct OrientedBox {
    Vec3 centre;
    Mat3 axes;
    Vec3 half;
};

std::optional<float> hitAlignedBox(const Ray& ray, Vec3 min, Vec3 max);
std::optional<float> hitBox(const Ray& ray, const OrientedBox& box);
std::optional<float> hitSphere(const Ray& ray, Vec3 centre, float radius);
// An upright cylinder about (x, z) from `bottom` to `top`.
std::optional<float> hitCylinder(const Ray& ray, float x, float z, float radius, float bottom, float top);

// Where the ray enters the shape from outside (its origin on the surface counts as outside):
// nothing when it misses, or when it starts inside.
std::optional<float> entryOfBox(const Ray& ray, const OrientedBox& box);
std::optional<float> entryOfSphere(const Ray& ray, Vec3 centre, float radius);

} // namespace mw
