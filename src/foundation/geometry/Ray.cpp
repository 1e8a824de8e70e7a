#include "foundation/geometry/Ray.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mw {

namespace {

// The slab test along one axis: narrows [near, far]; false when the ray misses the slab.
bool slab(float origin, float direction, float low, float high, float& near, float& far)
{
    if (std::fabs(direction) < 1e-12f)
        return origin >= low && origin <= high;
    float t0 = (low - origin) / direction, t1 = (high - origin) / direction;
    if (t0 > t1)
        std::swap(t0, t1);
    near = std::max(near, t0);
    far = std::min(far, t1);
    return near <= far;
}

std::optional<float> firstInFront(float near, float far)
{
    if (far < 0)
        return std::nullopt; // behind the origin
    return std::max(near, 0.0f);
}

} // namespace

std::optional<float> hitAlignedBox(const Ray& ray, Vec3 min, Vec3 max)
{
    float near = -std::numeric_limits<float>::infinity(), far = std::numeric_limits<float>::infinity();
    if (!slab(ray.origin.x, ray.direction.x, min.x, max.x, near, far) ||
        !slab(ray.origin.y, ray.direction.y, min.y, max.y, near, far) ||
        !slab(ray.origin.z, ray.direction.z, min.z, max.z, near, far))
        return std::nullopt;
    return firstInFront(near, far);
}

namespace {

// The ray in the box's own frame, where the box is axis-aligned about the origin; the axes are
// orthonormal, so distances keep.
Ray inFrameOf(const Ray& ray, const OrientedBox& box)
{
    const Mat3 inverse = box.axes.transposed();
    return {inverse * (ray.origin - box.centre), inverse * ray.direction};
}

} // namespace

std::optional<float> hitBox(const Ray& ray, const OrientedBox& box)
{
    return hitAlignedBox(inFrameOf(ray, box), -box.half, box.half);
}

std::optional<float> entryOfBox(const Ray& ray, const OrientedBox& box)
{
    const Ray local = inFrameOf(ray, box);
    float near = -std::numeric_limits<float>::infinity(), far = std::numeric_limits<float>::infinity();
    const Vec3 lo = -box.half, hi = box.half;
    if (!slab(local.origin.x, local.direction.x, lo.x, hi.x, near, far) ||
        !slab(local.origin.y, local.direction.y, lo.y, hi.y, near, far) ||
        !slab(local.origin.z, local.direction.z, lo.z, hi.z, near, far) || near < 0)
        return std::nullopt;
    return near;
}

std::optional<float> entryOfSphere(const Ray& ray, Vec3 centre, float radius)
{
    const Vec3 m = ray.origin - centre;
    const float b = dot(m, ray.direction), c = dot(m, m) - radius * radius;
    const float discriminant = b * b - c;
    if (c < 0 || discriminant < 0)
        return std::nullopt; // inside, or missed
    const float t = -b - std::sqrt(discriminant);
    return t >= 0 ? std::optional<float>(t) : std::nullopt;
}

std::optional<float> hitSphere(const Ray& ray, Vec3 centre, float radius)
{
    const Vec3 m = ray.origin - centre;
    const float b = dot(m, ray.direction), c = dot(m, m) - radius * radius;
    if (c > 0 && b > 0)
        return std::nullopt; // outside and pointing away
    const float discriminant = b * b - c;
    if (discriminant < 0)
        return std::nullopt;
    return std::max(0.0f, -b - std::sqrt(discriminant));
}

std::optional<float> hitCylinder(const Ray& ray, float x, float z, float radius, float bottom, float top)
{
    // The side: a circle in x-z; then the two caps.
    float near = -std::numeric_limits<float>::infinity(), far = std::numeric_limits<float>::infinity();
    const float ox = ray.origin.x - x, oz = ray.origin.z - z, dx = ray.direction.x, dz = ray.direction.z;
    const float a = dx * dx + dz * dz, b = ox * dx + oz * dz, c = ox * ox + oz * oz - radius * radius;
    if (a < 1e-12f) {
        if (c > 0)
            return std::nullopt; // straight up or down, outside the circle
    } else {
        const float discriminant = b * b - a * c;
        if (discriminant < 0)
            return std::nullopt;
        const float root = std::sqrt(discriminant);
        near = (-b - root) / a;
        far = (-b + root) / a;
    }
    if (!slab(ray.origin.y, ray.direction.y, bottom, top, near, far))
        return std::nullopt;
    return firstInFront(near, far);
}

} // namespace mw
