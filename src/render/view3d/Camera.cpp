#include "render/view3d/Camera.h"

#include <algorithm>
#include <cmath>

namespace mw {

namespace {

constexpr float PitchLimit = 1.55f; // short of straight up or down, where the right axis is lost

} // namespace

Vec3 Camera::forward() const
{
    const float c = std::cos(pitch);
    return {std::sin(yaw) * c, std::sin(pitch), std::cos(yaw) * c};
}

Vec3 Camera::right() const
{
    // The files' frame is left-handed (see the header): looking along +z, +x is on the right.
    return {std::cos(yaw), 0, -std::sin(yaw)};
}

Mat4 Camera::view() const
{
    // Into OpenGL's eye space (x right, y up, looking down -z). From a left-handed frame that is a
    // mirror: the matrix turns the winding of every triangle, which the renderer allows for.
    const Vec3 f = forward(), r = right(), u = up();
    Mat4 v;
    const Vec3 rows[3] = {r, u, -f};
    for (int i = 0; i < 3; ++i) {
        v.at(i, 0) = rows[i].x;
        v.at(i, 1) = rows[i].y;
        v.at(i, 2) = rows[i].z;
        v.at(i, 3) = -dot(rows[i], position);
    }
    return v;
}

void Camera::setViewport(float width, float height)
{
    m_width = std::max(width, 1.0f);
    m_height = std::max(height, 1.0f);
}

Mat4 Camera::projection() const
{
    const float aspect = this->aspect();
    const float t = 1.0f / std::tan(fovY / 2);
    Mat4 p;
    p.m.fill(0);
    p.at(0, 0) = t / aspect;
    p.at(1, 1) = t;
    p.at(2, 2) = (farPlane + nearPlane) / (nearPlane - farPlane);
    p.at(2, 3) = 2 * farPlane * nearPlane / (nearPlane - farPlane);
    p.at(3, 2) = -1;
    return p;
}

Ray Camera::rayThrough(PixelPoint pixel) const
{
    const float t = std::tan(fovY / 2);
    const float ndcX = 2 * pixel.x / m_width - 1, ndcY = 1 - 2 * pixel.y / m_height;
    const Vec3 direction = forward() + right() * (ndcX * t * aspect()) + up() * (ndcY * t);
    return {position, normalized(direction)};
}

std::optional<PixelPoint> Camera::pixelOf(Vec3 point) const
{
    const Mat4 vp = viewProjection();
    if (vp.clipW(point) <= 0)
        return std::nullopt;
    const Vec3 ndc = vp.transformPoint(point);
    return PixelPoint{(ndc.x + 1) / 2 * m_width, (1 - ndc.y) / 2 * m_height};
}

float Camera::worldPerPixel(float depth) const { return 2 * depth * std::tan(fovY / 2) / m_height; }

void Camera::orbit(float yawBy, float pitchBy)
{
    const Vec3 centre = pivot();
    yaw += yawBy;
    pitch = std::clamp(pitch + pitchBy, -PitchLimit, PitchLimit);
    position = centre - forward() * pivotDistance;
}

void Camera::pan(float dx, float dy)
{
    // A pixel is as wide as the view is at the pivot's distance.
    const float perPixel = worldPerPixel(pivotDistance);
    position += right() * (-dx * perPixel) + up() * (dy * perPixel);
}

void Camera::zoomToward(Vec3 point, float steps)
{
    const Vec3 toPoint = point - position;
    const float distance = length(toPoint);
    if (distance <= 0)
        return;
    // Each step covers a fifth of the way; backwards it goes as far out again.
    const float factor = steps >= 0 ? 1 - std::pow(0.8f, steps) : 1 - std::pow(1.25f, -steps);
    const Vec3 move = toPoint * factor;
    position += move;
    pivotDistance = std::max(0.5f, pivotDistance - dot(move, forward()));
}

void Camera::fly(Vec3 move) { position += right() * move.x + up() * move.y + forward() * move.z; }

void Camera::look(float yawBy, float pitchBy)
{
    yaw += yawBy;
    pitch = std::clamp(pitch + pitchBy, -PitchLimit, PitchLimit);
}

void Camera::frame(Vec3 min, Vec3 max)
{
    const Vec3 centre = (min + max) / 2;
    const Vec3 f = forward(), r = right(), u = up();
    const float tanV = std::tan(fovY / 2), tanH = tanV * aspect();
    // Back off along the line of sight until every corner of the box lies inside the angles of
    // view: a corner at offset o from the centre needs the eye at least |o.r| / tanH (sideways) and
    // |o.u| / tanV (up and down) in front of it.
    // Every corner also stays in front of the near plane, and a point is framed from a few metres.
    float distance = 1, radius = 0;
    for (int k = 0; k < 8; ++k) {
        const Vec3 corner{k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z};
        const Vec3 o = corner - centre;
        radius = std::max(radius, length(o));
        distance = std::max({distance, std::abs(dot(o, r)) / tanH - dot(o, f), std::abs(dot(o, u)) / tanV - dot(o, f),
                             nearPlane * 2 - dot(o, f)});
    }
    pivotDistance = distance * 1.1f;
    position = centre - f * pivotDistance;
    farPlane = std::max(20000.0f, pivotDistance + radius * 4);
}

} // namespace mw
