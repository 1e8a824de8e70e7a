#include "render/view3d/Handles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace mw {

namespace {

constexpr float PickPixels = 7; // how near the cursor must come to an arrow or the ring
constexpr int RingSegments = 64;

float distanceToSegment(PixelPoint p, PixelPoint a, PixelPoint b)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    const float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

// Whether p lies inside the convex quadrilateral a b c d (either winding).
bool insideQuad(PixelPoint p, const PixelPoint (&q)[4])
{
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const PixelPoint a = q[i], b = q[(i + 1) % 4];
        const float side = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        const int s = side > 0 ? 1 : side < 0 ? -1 : 0;
        if (s == 0)
            continue;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return false;
    }
    return true;
}

// Where the ray through a pixel meets the plane, as a point; nothing when it runs along the plane
// or meets it behind the camera.
std::optional<Vec3> onPlane(const Camera& camera, Vec3 origin, Vec3 normal, PixelPoint pixel)
{
    const Ray ray = camera.rayThrough(pixel);
    const float along = dot(ray.direction, normal);
    if (std::fabs(along) < 1e-4f)
        return std::nullopt;
    const float t = dot(origin - ray.origin, normal) / along;
    if (!(t > 0) || !std::isfinite(t))
        return std::nullopt;
    return ray.at(t);
}

// The two axes across a square's plane, both pointing the positive way: the square lies in the
// quadrant between the positive halves of its two axes.
std::pair<Vec3, Vec3> acrossPlane(HandlePart part)
{
    switch (part) {
    case HandlePart::PlaneYZ: return {{0, 1, 0}, {0, 0, 1}};
    case HandlePart::PlaneXZ: return {{1, 0, 0}, {0, 0, 1}};
    default: return {{1, 0, 0}, {0, 1, 0}};
    }
}

// The corners of a square part.
std::array<Vec3, 4> squareOf(const Handles& h, HandlePart part)
{
    const auto [u, v] = acrossPlane(part);
    const float a = Handles::SquareFrom * h.size, b = Handles::SquareTo * h.size;
    return {h.centre + u * a + v * a, h.centre + u * b + v * a, h.centre + u * b + v * b, h.centre + u * a + v * b};
}

} // namespace

Handles Handles::at(const Camera& camera, Vec3 centre, float pixels)
{
    const float depth = std::fmax(camera.nearPlane * 2, dot(centre - camera.position, camera.forward()));
    return {centre, pixels * camera.worldPerPixel(depth)};
}

Vec3 axisOf(HandlePart part)
{
    switch (part) {
    case HandlePart::AxisX:
    case HandlePart::PlaneYZ: return {1, 0, 0};
    case HandlePart::AxisY:
    case HandlePart::PlaneXZ:
    case HandlePart::Ring: return {0, 1, 0};
    case HandlePart::AxisZ:
    case HandlePart::PlaneXY: return {0, 0, 1};
    case HandlePart::None: break;
    }
    return {};
}

bool isAxis(HandlePart part) { return part == HandlePart::AxisX || part == HandlePart::AxisY || part == HandlePart::AxisZ; }
bool isPlane(HandlePart part) { return part == HandlePart::PlaneYZ || part == HandlePart::PlaneXZ || part == HandlePart::PlaneXY; }

HandlePart Handles::partAt(const Camera& camera, PixelPoint cursor) const
{
    const auto pixel = [&](Vec3 p) { return camera.pixelOf(p); };
    const auto c = pixel(centre);
    if (!c)
        return HandlePart::None;
    for (const HandlePart part : {HandlePart::AxisX, HandlePart::AxisY, HandlePart::AxisZ}) {
        const auto tip = pixel(centre + axisOf(part) * size);
        if (tip && distanceToSegment(cursor, *c, *tip) <= PickPixels)
            return part;
    }
    std::optional<PixelPoint> previous;
    for (int k = 0; k <= RingSegments; ++k) {
        const float a = Tau * static_cast<float>(k) / RingSegments;
        const auto p = pixel(centre + Vec3{std::sin(a), 0, std::cos(a)} * (RingRadius * size));
        if (p && previous && distanceToSegment(cursor, *previous, *p) <= PickPixels)
            return HandlePart::Ring;
        previous = p;
    }
    for (const HandlePart part : {HandlePart::PlaneYZ, HandlePart::PlaneXZ, HandlePart::PlaneXY}) {
        const auto corners = squareOf(*this, part);
        PixelPoint quad[4];
        bool seen = true;
        for (int i = 0; i < 4; ++i) {
            const auto p = pixel(corners[static_cast<std::size_t>(i)]);
            seen = seen && p.has_value();
            if (p)
                quad[i] = *p;
        }
        if (seen && insideQuad(cursor, quad))
            return part;
    }
    return HandlePart::None;
}

std::optional<float> axisDrag(const Camera& camera, Vec3 origin, Vec3 axis, PixelPoint from, PixelPoint to)
{
    // The parameter along the axis of the point nearest the ray (both directions of length 1).
    const auto along = [&](PixelPoint pixel) -> std::optional<float> {
        const Ray ray = camera.rayThrough(pixel);
        const float b = dot(axis, ray.direction);
        const float denominator = 1 - b * b;
        if (denominator < 1e-6f)
            return std::nullopt;
        const Vec3 w = origin - ray.origin;
        return (b * dot(ray.direction, w) - dot(axis, w)) / denominator;
    };
    const auto a = along(from), b = along(to);
    if (!a || !b)
        return std::nullopt;
    return *b - *a;
}

std::optional<Vec3> planeDrag(const Camera& camera, Vec3 origin, Vec3 normal, PixelPoint from, PixelPoint to)
{
    const auto a = onPlane(camera, origin, normal, from), b = onPlane(camera, origin, normal, to);
    if (!a || !b)
        return std::nullopt;
    return *b - *a;
}

std::optional<double> ringDrag(const Camera& camera, Vec3 centre, PixelPoint from, PixelPoint to)
{
    const auto a = onPlane(camera, centre, {0, 1, 0}, from), b = onPlane(camera, centre, {0, 1, 0}, to);
    if (!a || !b)
        return std::nullopt;
    const double before = std::atan2(static_cast<double>(a->x - centre.x), static_cast<double>(a->z - centre.z));
    const double after = std::atan2(static_cast<double>(b->x - centre.x), static_cast<double>(b->z - centre.z));
    double turn = (after - before) * 180.0 / std::numbers::pi;
    while (turn > 180)
        turn -= 360;
    while (turn <= -180)
        turn += 360;
    return turn;
}

void addHandleShapes(const Handles& handles, HandlePart lit, std::vector<FramePoint>& lines, std::vector<FramePoint>& triangles)
{
    const Vec3 c = handles.centre;
    const float size = handles.size;
    const auto colourOf = [&](HandlePart part, std::uint8_t alpha) {
        if (part == lit)
            return packRgba(255, 220, 0, alpha);
        switch (part) {
        case HandlePart::AxisX:
        case HandlePart::PlaneYZ: return packRgba(220, 50, 50, alpha);
        case HandlePart::AxisY:
        case HandlePart::PlaneXZ: return packRgba(60, 170, 60, alpha);
        case HandlePart::AxisZ:
        case HandlePart::PlaneXY: return packRgba(60, 90, 230, alpha);
        default: return packRgba(230, 140, 0, alpha);
        }
    };
    const auto line = [&](Vec3 a, Vec3 b, std::uint32_t rgba) {
        lines.push_back({a, rgba});
        lines.push_back({b, rgba});
    };
    for (const HandlePart part : {HandlePart::AxisX, HandlePart::AxisY, HandlePart::AxisZ}) {
        const Vec3 axis = axisOf(part), tip = c + axis * size;
        const std::uint32_t rgba = colourOf(part, 255);
        line(c, tip, rgba);
        // The head: four strokes back from the tip.
        const Vec3 u = axis.y != 0 ? Vec3{1, 0, 0} : Vec3{0, 1, 0}, v = cross(axis, u);
        for (const Vec3 side : {u, -u, v, -v})
            line(tip, c + axis * (size * 0.85f) + side * (size * 0.05f), rgba);
    }
    for (const HandlePart part : {HandlePart::PlaneYZ, HandlePart::PlaneXZ, HandlePart::PlaneXY}) {
        const auto q = squareOf(handles, part);
        const std::uint32_t face = colourOf(part, 90), edge = colourOf(part, 255);
        for (const std::size_t k : {0u, 1u, 2u, 0u, 2u, 3u})
            triangles.push_back({q[k], face});
        for (std::size_t k = 0; k < 4; ++k)
            line(q[k], q[(k + 1) % 4], edge);
    }
    const std::uint32_t ring = colourOf(HandlePart::Ring, 255);
    for (int k = 0; k < RingSegments; ++k) {
        const float a = Tau * static_cast<float>(k) / RingSegments, b = Tau * static_cast<float>(k + 1) / RingSegments;
        line(c + Vec3{std::sin(a), 0, std::cos(a)} * (Handles::RingRadius * size),
             c + Vec3{std::sin(b), 0, std::cos(b)} * (Handles::RingRadius * size), ring);
    }
}

bool HandlesShown::isDraggable(ItemRef item) const
{
    return std::find(draggable.begin(), draggable.end(), item) != draggable.end();
}

std::optional<Handles> HandlesShown::at(const Camera& camera) const
{
    if (!centre)
        return std::nullopt;
    return Handles::at(camera, *centre + moved);
}

void HandlesShown::addShapes(const Camera& camera, std::vector<FramePoint>& lines, std::vector<FramePoint>& triangles) const
{
    if (const auto h = at(camera))
        addHandleShapes(*h, held != HandlePart::None ? held : lit, lines, triangles);
}

float snapped(float value, float step) { return step > 0 ? std::round(value / step) * step : value; }

Vec3 snapped(Vec3 value, float step) { return {snapped(value.x, step), snapped(value.y, step), snapped(value.z, step)}; }

} // namespace mw
