#pragma once
// The one vector type of the program: a position, a size or a direction as three 32-bit floats, as
// every file of the game stores them, with the arithmetic the views and the placing commands use.

#include <cmath>
#include <numbers>

namespace mw {

// A whole turn, in radians.
inline constexpr float Tau = 2 * std::numbers::pi_v<float>;

struct Vec3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const Vec3&) const = default;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline Vec3 operator*(float k, Vec3 a) { return a * k; }
inline Vec3 operator/(Vec3 a, float k) { return {a.x / k, a.y / k, a.z / k}; }
inline Vec3& operator+=(Vec3& a, Vec3 b) { return a = a + b; }
inline Vec3& operator-=(Vec3& a, Vec3 b) { return a = a - b; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a)
{
    const float l = length(a);
    return l > 0 ? a / l : Vec3{};
}
// Per axis; for finite values (a NaN in `b` is passed over, one in `a` kept).
inline Vec3 minOf(Vec3 a, Vec3 b) { return {b.x < a.x ? b.x : a.x, b.y < a.y ? b.y : a.y, b.z < a.z ? b.z : a.z}; }
inline Vec3 maxOf(Vec3 a, Vec3 b) { return {b.x > a.x ? b.x : a.x, b.y > a.y ? b.y : a.y, b.z > a.z ? b.z : a.z}; }
inline bool isFinite(Vec3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

// How far from the origin, along any axis, the views draw, frame and pick things, and the largest
// size they draw: 100 km, far beyond any city of the game. A place or size past it, or not finite,
// is damaged data: left out of the views, so that it cannot shrink everything else to a point.
inline constexpr float WorldLimit = 100'000.0f;
inline bool withinWorld(float v) { return std::fabs(v) <= WorldLimit; } // false for NaN
inline bool withinWorld(Vec3 a) { return withinWorld(a.x) && withinWorld(a.y) && withinWorld(a.z); }

} // namespace mw
