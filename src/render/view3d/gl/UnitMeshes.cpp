#include "render/view3d/gl/UnitMeshes.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace mw {

namespace {

constexpr int Segments = 16;

std::uint16_t index(std::size_t n) { return static_cast<std::uint16_t>(n); }

void vertex(UnitMesh& m, Vec3 p, Vec3 n) { m.vertices.insert(m.vertices.end(), {p.x, p.y, p.z, n.x, n.y, n.z}); }
std::size_t vertexCount(const UnitMesh& m) { return m.vertices.size() / 6; }

// A circle of edges of diameter 1 at height y, in the x-z plane (axis 1), the y-z plane (axis 0) or
// the x-y plane (axis 2).
void circle(UnitMesh& m, float y, int axis)
{
    const std::size_t base = m.edgeVertices.size() / 3;
    for (int k = 0; k < Segments; ++k) {
        const float a = Tau * static_cast<float>(k) / Segments;
        const float c = 0.5f * std::cos(a), s = 0.5f * std::sin(a);
        const Vec3 p = axis == 1 ? Vec3{c, y, s} : axis == 0 ? Vec3{0, c, s} : Vec3{c, s, 0};
        m.edgeVertices.insert(m.edgeVertices.end(), {p.x, p.y, p.z});
        m.edges.insert(m.edges.end(), {index(base + k), index(base + (k + 1) % Segments)});
    }
}

UnitMesh boxMesh()
{
    UnitMesh m;
    const Vec3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const Vec3& n : normals) {
        // Two axes across the face, chosen so the corners go round counter-clockwise seen from outside.
        const Vec3 u = std::fabs(n.y) > 0 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        const Vec3 v = cross(n, u);
        const std::size_t base = vertexCount(m);
        for (const auto& [a, b] : {std::pair{-1.f, -1.f}, {1.f, -1.f}, {1.f, 1.f}, {-1.f, 1.f}})
            vertex(m, (n + u * a + v * b) * 0.5f, n);
        m.triangles.insert(m.triangles.end(),
                           {index(base), index(base + 1), index(base + 2), index(base), index(base + 2), index(base + 3)});
    }
    for (int i = 0; i < 8; ++i)
        m.edgeVertices.insert(m.edgeVertices.end(), {i & 1 ? 0.5f : -0.5f, i & 2 ? 0.5f : -0.5f, i & 4 ? 0.5f : -0.5f});
    for (int i = 0; i < 8; ++i)
        for (int bit : {1, 2, 4})
            if (!(i & bit))
                m.edges.insert(m.edges.end(), {index(i), index(i | bit)});
    return m;
}

UnitMesh sphereMesh()
{
    UnitMesh m;
    constexpr int Rings = 8;
    for (int r = 0; r <= Rings; ++r) {
        const float phi = std::numbers::pi_v<float> * static_cast<float>(r) / Rings;
        for (int k = 0; k <= Segments; ++k) {
            const float theta = Tau * static_cast<float>(k) / Segments;
            const Vec3 n{std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta)};
            vertex(m, n * 0.5f, n);
        }
    }
    for (int r = 0; r < Rings; ++r)
        for (int k = 0; k < Segments; ++k) {
            const std::size_t a = static_cast<std::size_t>(r * (Segments + 1) + k), b = a + Segments + 1;
            m.triangles.insert(m.triangles.end(), {index(a), index(a + 1), index(b), index(b), index(a + 1), index(b + 1)});
        }
    circle(m, 0, 1);
    circle(m, 0, 0);
    circle(m, 0, 2);
    return m;
}

UnitMesh cylinderMesh()
{
    UnitMesh m;
    for (int k = 0; k <= Segments; ++k) {
        const float a = Tau * static_cast<float>(k) / Segments;
        const Vec3 n{std::cos(a), 0, std::sin(a)};
        vertex(m, Vec3{n.x * 0.5f, -0.5f, n.z * 0.5f}, n);
        vertex(m, Vec3{n.x * 0.5f, 0.5f, n.z * 0.5f}, n);
    }
    for (int k = 0; k < Segments; ++k) {
        const std::size_t a = static_cast<std::size_t>(2 * k);
        m.triangles.insert(m.triangles.end(), {index(a), index(a + 1), index(a + 2), index(a + 1), index(a + 3), index(a + 2)});
    }
    for (const float y : {-0.5f, 0.5f}) {
        const Vec3 normal{0, y > 0 ? 1.f : -1.f, 0};
        const std::size_t centre = vertexCount(m);
        vertex(m, {0, y, 0}, normal);
        for (int k = 0; k <= Segments; ++k) {
            const float a = Tau * static_cast<float>(k) / Segments;
            vertex(m, {0.5f * std::cos(a), y, 0.5f * std::sin(a)}, normal);
        }
        for (int k = 0; k < Segments; ++k)
            m.triangles.insert(m.triangles.end(), {index(centre), index(centre + 1 + k), index(centre + 2 + k)});
    }
    circle(m, -0.5f, 1);
    circle(m, 0.5f, 1);
    return m;
}

UnitMesh markerMesh()
{
    UnitMesh m;
    const Vec3 tips[6] = {{0.5f, 0, 0}, {-0.5f, 0, 0}, {0, 0.5f, 0}, {0, -0.5f, 0}, {0, 0, 0.5f}, {0, 0, -0.5f}};
    for (int sx : {0, 1})
        for (int sy : {2, 3})
            for (int sz : {4, 5}) {
                const Vec3 a = tips[sx], n = normalized(tips[sx] + tips[sy] + tips[sz]);
                // Counter-clockwise seen from outside, as every mesh's faces.
                Vec3 b = tips[sy], c = tips[sz];
                if (dot(cross(b - a, c - a), n) < 0)
                    std::swap(b, c);
                const std::size_t base = vertexCount(m);
                vertex(m, a, n);
                vertex(m, b, n);
                vertex(m, c, n);
                m.triangles.insert(m.triangles.end(), {index(base), index(base + 1), index(base + 2)});
            }
    // The edges: each tip joined to the four that are not opposite it.
    for (const Vec3& tip : tips)
        m.edgeVertices.insert(m.edgeVertices.end(), {tip.x, tip.y, tip.z});
    for (std::uint16_t a = 0; a < 6; ++a)
        for (std::uint16_t b = static_cast<std::uint16_t>(a + 1); b < 6; ++b)
            if (a / 2 != b / 2)
                m.edges.insert(m.edges.end(), {a, b});
    return m;
}

} // namespace

UnitMesh unitMesh(Mesh3D mesh)
{
    switch (mesh) {
    case Mesh3D::Sphere: return sphereMesh();
    case Mesh3D::Cylinder: return cylinderMesh();
    case Mesh3D::Marker: return markerMesh();
    case Mesh3D::Box: break;
    }
    return boxMesh();
}

} // namespace mw
