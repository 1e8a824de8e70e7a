#include "render/view3d/Picking.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace mw {

namespace {

constexpr std::uint32_t LeafSize = 4;
constexpr float MinimumMarkerRadius = 0.3f; // markers are small: a click near one counts

struct Bounds {
    Vec3 min, max, centre;
};

Bounds boundsOf(const Instance3D& i)
{
    const Vec3 x = i.column(0), y = i.column(1), z = i.column(2), c = i.column(3);
    const Vec3 half = reachOf({x, y, z}, {0.5f, 0.5f, 0.5f});
    const Vec3 pad{MinimumMarkerRadius, MinimumMarkerRadius, MinimumMarkerRadius};
    return {c - half - pad, c + half + pad, c};
}

// Leaves [first, first + count) of `order`: the box around them, and the axis their centres spread
// along most (none when they all lie at one point).
struct Spread {
    Vec3 min, max;
    std::optional<int> axis;
};
Spread spreadOf(const std::vector<Bounds>& bounds, const std::vector<std::uint32_t>& order, std::uint32_t first,
                std::uint32_t count)
{
    Spread s{bounds[order[first]].min, bounds[order[first]].max, std::nullopt};
    Vec3 cmin = bounds[order[first]].centre, cmax = cmin;
    for (std::uint32_t k = first; k < first + count; ++k) {
        const Bounds& b = bounds[order[k]];
        s.min = minOf(s.min, b.min);
        s.max = maxOf(s.max, b.max);
        cmin = minOf(cmin, b.centre);
        cmax = maxOf(cmax, b.centre);
    }
    const Vec3 e = cmax - cmin;
    if (e.x != 0 || e.y != 0 || e.z != 0)
        s.axis = e.x >= e.y && e.x >= e.z ? 0 : e.y >= e.z ? 1 : 2;
    return s;
}

// A hit at distance 0 is a ray that starts inside the shape: no target.
std::optional<float> fromOutside(std::optional<float> t) { return t && *t > 0 ? t : std::nullopt; }

} // namespace

std::optional<float> hitInstance(const Ray& ray, Mesh3D mesh, const Instance3D& i)
{
    const Vec3 c = i.column(3);
    switch (mesh) {
    case Mesh3D::Box:
        return fromOutside(hitBox(ray, boxOf(i)));
    case Mesh3D::Sphere:
    case Mesh3D::Marker: {
        float radius = length(i.column(0)) / 2;
        if (mesh == Mesh3D::Marker)
            radius = std::max(radius, MinimumMarkerRadius);
        return fromOutside(hitSphere(ray, c, radius));
    }
    case Mesh3D::Cylinder: {
        const float radius = length(i.column(0)) / 2, half = length(i.column(1)) / 2;
        return fromOutside(hitCylinder(ray, c.x, c.z, radius, c.y - half, c.y + half));
    }
    }
    return std::nullopt;
}

void Picker::prepare() const
{
    if (m_built)
        return;
    m_built = true;
    m_leaves.clear();
    m_nodes.clear();
    std::vector<Bounds> bounds;
    for (std::uint8_t b = 0; b < m_scene.batches.size(); ++b)
        for (std::uint32_t k = 0; k < m_scene.batches[b].instances.size(); ++k) {
            m_leaves.push_back({b, k});
            bounds.push_back(boundsOf(m_scene.batches[b].instances[k]));
        }
    if (m_leaves.empty())
        return;
    std::vector<std::uint32_t> order(m_leaves.size());
    std::iota(order.begin(), order.end(), 0u);
    m_nodes.reserve(2 * m_leaves.size() / LeafSize + 2);
    // Built with an explicit stack: the tree's depth never grows the call stack.
    struct Task {
        std::uint32_t node, first, count;
    };
    std::vector<Task> tasks;
    m_nodes.push_back({});
    tasks.push_back({0, 0, static_cast<std::uint32_t>(order.size())});
    while (!tasks.empty()) {
        const Task t = tasks.back();
        tasks.pop_back();
        const Spread spread = spreadOf(bounds, order, t.first, t.count);
        m_nodes[t.node].min = spread.min;
        m_nodes[t.node].max = spread.max;
        if (t.count <= LeafSize || !spread.axis) {
            m_nodes[t.node].first = t.first;
            m_nodes[t.node].count = t.count;
            continue;
        }
        const int axis = *spread.axis;
        const auto key = [&](std::uint32_t k) {
            const Vec3& c = bounds[k].centre;
            return axis == 0 ? c.x : axis == 1 ? c.y : c.z;
        };
        const std::uint32_t half = t.count / 2;
        std::nth_element(order.begin() + t.first, order.begin() + t.first + half, order.begin() + t.first + t.count,
                         [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
        const auto left = static_cast<std::uint32_t>(m_nodes.size());
        m_nodes.push_back({});
        m_nodes.push_back({});
        m_nodes[t.node].left = left;
        m_nodes[t.node].right = left + 1;
        tasks.push_back({left, t.first, half});
        tasks.push_back({left + 1, t.first + half, t.count - half});
    }
    std::vector<Leaf> sorted(m_leaves.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        sorted[k] = m_leaves[order[k]];
    m_leaves = std::move(sorted);
}

std::optional<PickHit> Picker::walk(const Ray& ray, const PickFilter& filter, bool bodies, std::vector<PickHit>* all) const
{
    prepare();
    if (m_nodes.empty())
        return std::nullopt;
    std::optional<PickHit> best;
    std::vector<std::uint32_t> stack{0};
    while (!stack.empty()) {
        const Node& n = m_nodes[stack.back()];
        stack.pop_back();
        const auto enter = hitAlignedBox(ray, n.min, n.max);
        if (!enter || (!all && best && *enter > best->distance))
            continue;
        if (n.count == 0) {
            stack.push_back(n.left);
            stack.push_back(n.right);
            continue;
        }
        for (std::uint32_t k = n.first; k < n.first + n.count; ++k) {
            const Leaf leaf = m_leaves[k];
            const Batch3D& batch = m_scene.batches[leaf.batch];
            const ItemRef item = batch.item(leaf.index);
            if ((item.layer == ViewLayer::Collision) != bodies || !filter.reaches(item))
                continue;
            const auto t = hitInstance(ray, batch.mesh, batch.instances[leaf.index]);
            if (!t)
                continue;
            const PickHit hit{item, *t, ray.at(*t)};
            if (all)
                all->push_back(hit);
            if (!best || *t < best->distance)
                best = hit;
        }
    }
    return best;
}

std::optional<PickHit> Picker::pick(const Ray& ray, const PickFilter& filter) const
{
    if (auto thing = walk(ray, filter, false, nullptr))
        return thing;
    return walk(ray, filter, true, nullptr);
}

std::vector<PickHit> Picker::hitsAlong(const Ray& ray, const PickFilter& filter) const
{
    std::vector<PickHit> things, bodies;
    walk(ray, filter, false, &things);
    walk(ray, filter, true, &bodies);
    const auto nearer = [](const PickHit& a, const PickHit& b) { return a.distance < b.distance || (a.distance == b.distance && a.item < b.item); };
    std::sort(things.begin(), things.end(), nearer);
    std::sort(bodies.begin(), bodies.end(), nearer);
    things.insert(things.end(), bodies.begin(), bodies.end());
    return things;
}

std::pair<ItemRef, std::size_t> PickCycle::next(PixelPoint at, std::vector<ItemRef> hits, bool toggle)
{
    const bool again = !toggle && std::fabs(at.x - m_at.x) <= SamePlace && std::fabs(at.y - m_at.y) <= SamePlace && hits == m_hits;
    m_next = again ? (m_next + 1) % hits.size() : 0;
    m_at = at;
    m_hits = std::move(hits);
    return {m_hits[m_next], m_next};
}

std::vector<ItemRef> Picker::itemsInside(const Camera& camera, PixelPoint a, PixelPoint b, const PickFilter& filter) const
{
    const float left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const float top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const Mat4 vp = camera.viewProjection();
    const float width = camera.width(), height = camera.height();
    std::vector<ItemRef> items;
    for (const Batch3D& batch : m_scene.batches)
        for (std::size_t k = 0; k < batch.instances.size(); ++k) {
            const ItemRef item = batch.item(k);
            if (!filter.reaches(item))
                continue;
            const Vec3 centre = batch.instances[k].column(3);
            if (vp.clipW(centre) <= 0)
                continue;
            const Vec3 ndc = vp.transformPoint(centre);
            const float x = (ndc.x + 1) / 2 * width, y = (1 - ndc.y) / 2 * height;
            if (x >= left && x <= right && y >= top && y <= bottom)
                items.push_back(item);
        }
    std::sort(items.begin(), items.end());
    return items;
}

} // namespace mw
