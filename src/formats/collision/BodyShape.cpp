#include "formats/collision/BodyShape.h"

#include <cmath>

#include "formats/common/Orientation.h"
#include "foundation/bytes/ByteReader.h"

namespace mw {

namespace {

// Orthonormal axes near a record's matrix (one written with a little scale or rounding still turns,
// and picking needs true axes): its x axis, its y axis made square to it, and z from the two.
Mat3 orthonormal(Mat3 m)
{
    const Vec3 x = normalized(m.x);
    const Vec3 y = normalized(m.y - x * dot(m.y, x));
    if (length(x) == 0 || length(y) == 0)
        return {};
    return {x, y, cross(x, y)};
}

bool finite(const BodyShape& s)
{
    return isFinite(s.box.centre) && isFinite(s.box.half) && isFinite(s.centre) && std::isfinite(s.radius) &&
           isFinite(s.box.axes.x) && isFinite(s.box.axes.y) && isFinite(s.box.axes.z);
}

} // namespace

std::array<Vec3, 8> BodyShape::corners() const
{
    std::array<Vec3, 8> out;
    for (int i = 0; i < 8; ++i) {
        const Vec3 sign{i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f};
        out[static_cast<std::size_t>(i)] = box.centre + box.axes * Vec3{sign.x * box.half.x, sign.y * box.half.y, sign.z * box.half.z};
    }
    return out;
}

std::optional<BodyShape> bodyShapeOf(const CollisionLoadResult& tree, std::size_t row)
{
    if (row >= tree.bodyCount())
        return std::nullopt;
    const CollisionBody& b = tree.body(row);
    const std::string_view tag = b.CollisionKindTag;
    BodyShape s;
    try {
        const ByteReader file(spanOf(tree.source));
        const std::size_t g = b.CollisionItemOffset; // the geometry; the record starts 8 bytes before
        const auto vec = [&](std::size_t at) { return Vec3{file.f32(at), file.f32(at + 4), file.f32(at + 8)}; };
        if (tag == "SC") {
            const Vec3 min = vec(g), max = vec(g + 12);
            s.box = {(min + max) / 2, {}, Vec3{std::fabs(max.x - min.x), std::fabs(max.y - min.y), std::fabs(max.z - min.z)} / 2};
        } else if (tag == "SR") {
            const Vec3 min = vec(g), max = vec(g + 12);
            const std::size_t m = g + 48; // rows of four from record offset 56
            const Mat3 matrix = Mat3::fromRows(vec(m), vec(m + 16), vec(m + 32));
            s.box = {b.position, orthonormal(matrix),
                     Vec3{std::fabs(max.x - min.x), std::fabs(max.y - min.y), std::fabs(max.z - min.z)} / 2};
        } else if (tag == "BI") {
            // r and w as the scene's q1 and q3: a turn about the vertical axis by 2 atan2(r, w).
            s.box = {b.position, orientationOf(b.rotation, RotationLayout::Scene), b.size / 2};
        } else if (tag == "SP" || tag == "CY") {
            s.kind = tag == "SP" ? BodyShape::Kind::Sphere : BodyShape::Kind::Cylinder;
            s.centre = b.position;
            s.radius = std::fabs(b.size.x);
        } else {
            return std::nullopt;
        }
    } catch (const TruncatedData&) {
        return std::nullopt;
    }
    return finite(s) ? std::optional<BodyShape>(s) : std::nullopt;
}

} // namespace mw
