#include "commands/placing/DropToGround.h"

#include <algorithm>
#include <cmath>

#include "commands/editing/Deletion.h"
#include "mission/Mission.h"

namespace mw {

namespace {

constexpr float Lift = 0.001f;          // a drop starts this far above the translation
constexpr std::size_t MostCells = 64;   // a body over more cells than this is tried by every drop
constexpr int MostColumns = 1024;       // the grid's side, at most

// The ground plan of a shape: x and z from, to.
struct Plan {
    float x0, z0, x1, z1;
};

Plan planOf(const BodyShape& s)
{
    if (s.kind == BodyShape::Kind::Sphere)
        return {s.centre.x - s.radius, s.centre.z - s.radius, s.centre.x + s.radius, s.centre.z + s.radius};
    const Vec3 e = reachOf(s.box.axes, s.box.half);
    return {s.box.centre.x - e.x, s.box.centre.z - e.z, s.box.centre.x + e.x, s.box.centre.z + e.z};
}

// Where a drop meets the shape, worked out from the shape itself where it can be, so that a top at
// 4 is 4 and not a rounding of the ray's arithmetic: a box with an upright axis has a flat top at
// its centre plus that half size; a sphere's top is a square root away; a box tilted every way
// keeps where the ray met it.
float landingHeight(const BodyShape& s, Vec3 from, float met)
{
    if (s.kind == BodyShape::Kind::Sphere) {
        const double dx = from.x - s.centre.x, dz = from.z - s.centre.z;
        const double r = s.radius, across = dx * dx + dz * dz;
        return across <= r * r ? static_cast<float>(s.centre.y + std::sqrt(r * r - across)) : met;
    }
    const Vec3 axes[3] = {s.box.axes.x, s.box.axes.y, s.box.axes.z};
    const float half[3] = {s.box.half.x, s.box.half.y, s.box.half.z};
    for (int k = 0; k < 3; ++k)
        if (std::fabs(axes[k].y) == 1.0f)
            return s.box.centre.y + half[k];
    return met;
}

} // namespace

Ground::Ground(const CollisionLoadResult& tree, std::optional<Area> area)
{
    std::vector<Plan> plans;
    m_shapes.reserve(tree.bodyCount());
    plans.reserve(tree.bodyCount());
    for (std::size_t row = 0; row < tree.bodyCount(); ++row) {
        if (area) {
            // What the list shows of the body (its centre and size) bounds it: a body clear of the
            // area is passed over before its shape is read.
            const CollisionBody& b = tree.body(row);
            const float reach = std::fabs(b.size.x) + std::fabs(b.size.y) + std::fabs(b.size.z);
            if (std::isfinite(reach) && isFinite(b.position) &&
                (b.position.x + reach < area->x0 || b.position.x - reach > area->x1 || b.position.z + reach < area->z0 ||
                 b.position.z - reach > area->z1))
                continue;
        }
        const auto shape = bodyShapeOf(tree, row);
        if (!shape || shape->kind == BodyShape::Kind::Cylinder)
            continue;
        const Plan plan = planOf(*shape);
        if (!std::isfinite(plan.x0) || !std::isfinite(plan.x1) || !std::isfinite(plan.z0) || !std::isfinite(plan.z1))
            continue;
        m_shapes.push_back(*shape);
        plans.push_back(plan);
    }
    if (m_shapes.empty())
        return;
    float maxX = plans[0].x1, maxZ = plans[0].z1;
    m_minX = plans[0].x0;
    m_minZ = plans[0].z0;
    for (const Plan& p : plans) {
        m_minX = std::min(m_minX, p.x0);
        m_minZ = std::min(m_minZ, p.z0);
        maxX = std::max(maxX, p.x1);
        maxZ = std::max(maxZ, p.z1);
    }
    // About one body per cell, the cells square.
    const double width = std::max(1e-3, static_cast<double>(maxX) - m_minX), depth = std::max(1e-3, static_cast<double>(maxZ) - m_minZ);
    const double side = std::sqrt(width * depth / static_cast<double>(m_shapes.size()));
    m_columns = std::clamp(static_cast<int>(width / side) + 1, 1, MostColumns);
    m_rows = std::clamp(static_cast<int>(depth / side) + 1, 1, MostColumns);
    m_cellSize = static_cast<float>(std::max(width / m_columns, depth / m_rows));
    m_columns = std::clamp(static_cast<int>(width / m_cellSize) + 1, 1, MostColumns);
    m_rows = std::clamp(static_cast<int>(depth / m_cellSize) + 1, 1, MostColumns);

    // Counted first, then filled: each cell's bodies lie together.
    const auto cells = static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows);
    std::vector<std::uint32_t> counts(cells + 1, 0);
    const auto eachCell = [&](const Plan& p, auto&& visit) {
        const Cell a = cellOf(p.x0, p.z0), b = cellOf(p.x1, p.z1);
        for (int z = a.z; z <= b.z; ++z)
            for (int x = a.x; x <= b.x; ++x)
                visit(static_cast<std::size_t>(z) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(x));
    };
    const auto cellCount = [&](const Plan& p) {
        const Cell a = cellOf(p.x0, p.z0), b = cellOf(p.x1, p.z1);
        return static_cast<std::size_t>(b.x - a.x + 1) * static_cast<std::size_t>(b.z - a.z + 1);
    };
    for (std::uint32_t k = 0; k < plans.size(); ++k) {
        if (cellCount(plans[k]) > MostCells)
            m_large.push_back(k);
        else
            eachCell(plans[k], [&](std::size_t cell) { ++counts[cell + 1]; });
    }
    for (std::size_t cell = 0; cell < cells; ++cell)
        counts[cell + 1] += counts[cell];
    m_cellStart = counts;
    m_cells.resize(counts[cells]);
    for (std::uint32_t k = 0; k < plans.size(); ++k)
        if (cellCount(plans[k]) <= MostCells)
            eachCell(plans[k], [&](std::size_t cell) { m_cells[counts[cell]++] = k; });
}

Ground::Cell Ground::cellOf(float x, float z) const
{
    const auto index = [&](float v, float min, int count) {
        const float at = (v - min) / m_cellSize;
        if (!(at > 0))
            return 0;
        return std::min(count - 1, static_cast<int>(at));
    };
    return {index(x, m_minX, m_columns), index(z, m_minZ, m_rows)};
}

std::optional<float> Ground::below(Vec3 from) const
{
    if (m_shapes.empty() || !isFinite(from))
        return std::nullopt;
    const Ray ray{{from.x, from.y + Lift, from.z}, {0, -1, 0}};
    std::optional<float> highest;
    const auto tryBody = [&](std::uint32_t k) {
        const BodyShape& s = m_shapes[k];
        const auto t = s.kind == BodyShape::Kind::Sphere ? entryOfSphere(ray, s.centre, s.radius) : entryOfBox(ray, s.box);
        if (!t)
            return;
        const float height = landingHeight(s, from, ray.origin.y - *t);
        if (!highest || height > *highest)
            highest = height;
    };
    for (const std::uint32_t k : m_large)
        tryBody(k);
    const bool inside = from.x >= m_minX && from.z >= m_minZ && from.x <= m_minX + m_cellSize * static_cast<float>(m_columns) &&
                        from.z <= m_minZ + m_cellSize * static_cast<float>(m_rows);
    if (inside) {
        const Cell c = cellOf(from.x, from.z);
        const std::size_t cell = static_cast<std::size_t>(c.z) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(c.x);
        for (std::uint32_t i = m_cellStart[cell]; i < m_cellStart[cell + 1]; ++i)
            tryBody(m_cells[i]);
    }
    return highest;
}

Result<Dropped> dropToGround(Mission& mission, const PlacedItems& items, Prompter& prompter)
{
    std::vector<NewPlace> places = placesOf(mission, items);
    Dropped counts;
    if (!mission.isLoaded(MissionFile::Tree)) {
        counts.nothingBelow = places.size();
        return {Outcome::refused(), counts};
    }
    // The ground under the items only.
    Ground::Area area{places.empty() ? 0 : places[0].translation.x, places.empty() ? 0 : places[0].translation.z, 0, 0};
    area.x1 = area.x0;
    area.z1 = area.z0;
    for (const NewPlace& p : places)
        if (isFinite(p.translation)) {
            area.x0 = std::min(area.x0, p.translation.x);
            area.z0 = std::min(area.z0, p.translation.z);
            area.x1 = std::max(area.x1, p.translation.x);
            area.z1 = std::max(area.z1, p.translation.z);
        }
    const Ground ground(mission.tree(), area);
    std::vector<NewPlace> landed;
    landed.reserve(places.size());
    for (NewPlace& p : places) {
        const auto height = ground.below(p.translation);
        if (!height) {
            ++counts.nothingBelow;
            continue;
        }
        p.translation.y = *height;
        landed.push_back(p);
    }
    counts.moved = landed.size();
    if (landed.empty())
        return {Outcome::refused(), counts};
    return {writePlaces(mission, landed, "Drop " + objectCount(landed.size()) + " to the ground", prompter), counts};
}

} // namespace mw
