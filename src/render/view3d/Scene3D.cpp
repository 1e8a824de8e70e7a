#include "render/view3d/Scene3D.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <exception>
#include <system_error>
#include <thread>

#include "formats/collision/BodyShape.h"
#include "formats/common/Orientation.h"
#include "formats/route/RouteFile.h"
#include "foundation/bytes/ByteReader.h"

namespace mw {

namespace {

// The tallest a cylinder is drawn: the file gives none, so it spans everything else loaded.
constexpr float CylinderFallbackHeight = 20;
constexpr std::size_t MaxInstances = 0xFFFFFF; // the place table holds an instance number of 24 bits
constexpr std::size_t BatchCount = static_cast<std::size_t>(BatchKind::Count);

// The box around what has been added.
struct Bounds {
    Vec3 min{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vec3 max = -min;
    // Only finite values come here, so the plain comparisons do.
    void cover(Vec3 lo, Vec3 hi)
    {
        min = {std::min(min.x, lo.x), std::min(min.y, lo.y), std::min(min.z, lo.z)};
        max = {std::max(max.x, hi.x), std::max(max.y, hi.y), std::max(max.z, hi.z)};
    }
    void cover(const Bounds& other) { cover(other.min, other.max); }
};

using Cylinders = std::vector<std::pair<std::uint32_t, BodyShape>>;

// What one share of the work makes: instances and their rows for some batches, the bounds,
// and the cylinders, which are added last (they span everything else). The shares are made side by
// side and put together in order, so the result is the same as one pass over every row.
struct Share {
    std::array<std::vector<Instance3D>, BatchCount> instances;
    std::array<std::vector<std::uint32_t>, BatchCount> rows;
    Bounds bounds;
    Cylinders cylinders;

    // Room for up to `count` items in each batch: memory a share does not touch is never used.
    void reserve(std::initializer_list<BatchKind> kinds, std::size_t count)
    {
        for (const BatchKind kind : kinds) {
            instances[static_cast<std::size_t>(kind)].reserve(count);
            rows[static_cast<std::size_t>(kind)].reserve(count);
        }
    }
    void add(BatchKind kind, std::uint32_t row, const Mat3& axes, Vec3 size, Vec3 centre, std::uint32_t rgba)
    {
        const Vec3 x = axes.x * size.x, y = axes.y * size.y, z = axes.z * size.z;
        instances[static_cast<std::size_t>(kind)].push_back(
            {{x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z, centre.x, centre.y, centre.z}, rgba});
        rows[static_cast<std::size_t>(kind)].push_back(row);
        const Vec3 half = reachOf({x, y, z}, {0.5f, 0.5f, 0.5f});
        bounds.cover(centre - half, centre + half);
    }
};


void addScene(Share& out, const SceneCatalogue& scene, std::uint32_t first, std::uint32_t end)
{
    out.reserve({BatchKind::SceneBoxes, BatchKind::SceneSpheres, BatchKind::SceneMarkers}, end - first);
    std::array<std::uint32_t, 7> colours{};
    for (std::size_t k = 0; k < colours.size(); ++k)
        colours[k] = packRgba(markerColour(static_cast<MarkerKind>(k)), NoFacingAlpha);
    constexpr std::uint32_t Facing = static_cast<std::uint32_t>(FacingAlpha ^ NoFacingAlpha) << 24;
    for (std::uint32_t row = first; row < end; ++row) {
        const SceneRecord& r = scene.records[row];
        if (r.isScript || r.TranslationOffset == 0)
            continue;
        const Vec3 t = scene.translation(row);
        if (!isFinite(t))
            continue;
        const Mat3 axes = r.RotationOffset ? orientationOf(scene.rotation(row), RotationLayout::Scene) : Mat3{};
        Vec3 scale = r.SizeOffset ? scene.size(row) : Vec3{1, 1, 1};
        if (!isFinite(scale))
            scale = {1, 1, 1};
        const MarkerKind kind = markerKindOf(scene, row);
        const std::uint32_t colour = colours[static_cast<std::size_t>(kind)] | (r.RotationOffset ? Facing : 0);
        // Things that stand on the ground stand on their translation.
        const auto standing = [&](Vec3 size) {
            const Vec3 s{size.x * scale.x, size.y * scale.y, size.z * scale.z};
            out.add(BatchKind::SceneBoxes, row, axes, s, t + axes.y * (s.y / 2), colour);
        };
        switch (kind) {
        case MarkerKind::Car: standing(CarSize); break;
        case MarkerKind::Human: standing(HumanSize); break;
        case MarkerKind::Building: standing(BuildingSize); break;
        case MarkerKind::Model: standing(ThingSize); break;
        case MarkerKind::Light: out.add(BatchKind::SceneSpheres, row, {}, Vec3{1, 1, 1} * LightDiameter, t, colour); break;
        case MarkerKind::Sound: out.add(BatchKind::SceneSpheres, row, {}, Vec3{1, 1, 1} * SoundDiameter, t, colour); break;
        case MarkerKind::Other: out.add(BatchKind::SceneMarkers, row, {}, Vec3{1, 1, 1} * MarkerSize, t, colour); break;
        }
    }
}

void addCache(Share& out, const CacheLoadResult& cache)
{
    const std::uint32_t colour = packRgba(CacheColour, FacingAlpha);
    out.reserve({BatchKind::CacheBoxes}, cache.records.size());
    for (std::uint32_t row = 0; row < cache.records.size(); ++row) {
        const CacheRecord& r = cache.records[row];
        if (r.TranslationOffset == 0 || !isFinite(r.position))
            continue; // a base record has no place
        const Mat3 axes = orientationOf(r.rotation, RotationLayout::Cache);
        const Vec3 scale = isFinite(r.size) ? r.size : Vec3{1, 1, 1};
        const Vec3 s{BuildingSize.x * scale.x, BuildingSize.y * scale.y, BuildingSize.z * scale.z};
        out.add(BatchKind::CacheBoxes, row, axes, s, r.position + axes.y * (s.y / 2), colour);
    }
}

void addFrames(Share& out, const ModelLoadResult& model)
{
    const std::uint32_t colour = packRgba(20, 20, 20);
    out.reserve({BatchKind::FrameMarkers}, model.frames.size());
    for (std::uint32_t row = 0; row < model.frames.size(); ++row) {
        const Vec3 p = model.frames[row].position;
        if (isFinite(p))
            out.add(BatchKind::FrameMarkers, row, {}, Vec3{1, 1, 1} * FrameMarkerSize, p, colour);
    }
}

void addRoute(std::vector<Vec3>& points, Bounds& bounds, std::span<const std::uint8_t> route)
{
    if (!holdsRoutePoints(route))
        return;
    const ByteReader r(route);
    points.reserve(RoutePoints);
    for (std::uint32_t i = 0; i < RoutePoints; ++i) {
        const std::size_t at = routePointOffset(i);
        const Vec3 p{r.f32(at), r.f32(at + 4), r.f32(at + 8)};
        if (!isFinite(p))
            continue;
        points.push_back(p);
        bounds.cover(p, p);
    }
}

// The bodies of rows [first, end) but the cylinders, which the share keeps for later.
void addBodies(Share& out, const CollisionLoadResult& tree, std::uint32_t first, std::uint32_t end)
{
    out.reserve({BatchKind::BodyBoxes, BatchKind::BodySpheres}, end - first);
    for (std::uint32_t row = first; row < end; ++row) {
        const auto shape = bodyShapeOf(tree, row);
        if (!shape)
            continue;
        const std::uint32_t colour = materialColour(tree.body(row).material);
        switch (shape->kind) {
        case BodyShape::Kind::Box:
            out.add(BatchKind::BodyBoxes, row, shape->box.axes, shape->box.half * 2, shape->box.centre, colour);
            break;
        case BodyShape::Kind::Sphere:
            out.add(BatchKind::BodySpheres, row, {}, Vec3{1, 1, 1} * (2 * shape->radius), shape->centre, colour);
            break;
        case BodyShape::Kind::Cylinder:
            out.cylinders.emplace_back(row, *shape);
            break;
        }
    }
}

// The cylinders, upright from the lowest to the highest point of everything else.
void addCylinders(Share& out, const CollisionLoadResult& tree, const Cylinders& cylinders, const Bounds& everything)
{
    float bottom = everything.min.y, top = everything.max.y;
    if (!(bottom < top)) {
        bottom = 0;
        top = CylinderFallbackHeight;
    }
    out.reserve({BatchKind::BodyCylinders}, cylinders.size());
    for (const auto& [row, shape] : cylinders) {
        const Vec3 centre{shape.centre.x, (bottom + top) / 2, shape.centre.z};
        out.add(BatchKind::BodyCylinders, row, {}, {2 * shape.radius, top - bottom, 2 * shape.radius}, centre,
                materialColour(tree.body(row).material));
    }
}

// The shares, in order, into one batch of the scene, and every item's place.
void putBatchTogether(Scene3D& out, std::size_t k, const std::vector<Share>& shares)
{
    Batch3D& batch = out.batches[k];
    std::size_t total = 0;
    for (const Share& share : shares)
        total += share.instances[k].size();
    batch.instances.reserve(std::min(total, MaxInstances));
    batch.rows.reserve(std::min(total, MaxInstances));
    for (const Share& share : shares) {
        const std::size_t take = std::min(share.instances[k].size(), MaxInstances - batch.instances.size());
        batch.instances.insert(batch.instances.end(), share.instances[k].begin(), share.instances[k].begin() + take);
        batch.rows.insert(batch.rows.end(), share.rows[k].begin(), share.rows[k].begin() + take);
    }
    auto& places = out.places[static_cast<std::size_t>(batch.layer)];
    for (std::size_t i = 0; i < batch.rows.size(); ++i)
        places[batch.rows[i]] = (static_cast<std::uint32_t>(k) << 24) | static_cast<std::uint32_t>(i);
}

// Runs `first` on a second thread and `second` on this one; both on this one when no thread can
// be had. What the second thread throws is thrown here.
template <class First, class Second>
void sideBySide(First first, Second second)
{
    std::exception_ptr failure;
    const auto guarded = [&] {
        try {
            first();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    std::thread worker;
    try {
        worker = std::thread(guarded);
    } catch (const std::system_error&) {
        guarded();
    }
    try {
        second();
    } catch (...) {
        if (worker.joinable())
            worker.join();
        throw;
    }
    if (worker.joinable())
        worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

// Hues a golden angle apart, so that neighbouring codes look different; warm and light, as the
// map's bodies are orange.
std::uint32_t materialHue(std::uint8_t material)
{
    const float hue = std::fmod(20.0f + material * 137.508f, 360.0f) / 60.0f;
    const float x = 1 - std::fabs(std::fmod(hue, 2.0f) - 1);
    float r = 0, g = 0, bl = 0;
    switch (static_cast<int>(hue)) {
    case 0: r = 1, g = x; break;
    case 1: r = x, g = 1; break;
    case 2: g = 1, bl = x; break;
    case 3: g = x, bl = 1; break;
    case 4: r = x, bl = 1; break;
    default: r = 1, bl = x; break;
    }
    const auto channel = [](float v) { return static_cast<std::uint8_t>(90 + v * 165); };
    return packRgba(channel(r), channel(g), channel(bl), 90);
}

} // namespace

std::uint32_t materialColour(std::uint8_t material)
{
    static const std::array<std::uint32_t, 256> colours = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::size_t m = 0; m < table.size(); ++m)
            table[m] = materialHue(static_cast<std::uint8_t>(m));
        return table;
    }();
    return colours[material];
}

std::optional<Scene3D::Place> Scene3D::find(ItemRef item) const
{
    const auto& rows = places[static_cast<std::size_t>(item.layer)];
    if (item.row >= rows.size() || rows[item.row] == NoInstance)
        return std::nullopt;
    return Place{static_cast<BatchKind>(rows[item.row] >> 24), rows[item.row] & 0xFFFFFFu};
}

std::size_t Scene3D::itemCount() const
{
    std::size_t n = 0;
    for (const Batch3D& b : batches)
        n += b.instances.size();
    return n;
}

std::size_t Scene3D::memoryBytes() const
{
    std::size_t bytes = sizeof(*this);
    for (const Batch3D& b : batches)
        bytes += b.instances.capacity() * sizeof(Instance3D) + b.rows.capacity() * sizeof(std::uint32_t);
    bytes += route.capacity() * sizeof(Vec3);
    for (const auto& rows : places)
        bytes += rows.capacity() * sizeof(std::uint32_t);
    return bytes;
}

Scene3D buildScene3D(const Scene3DSource& source)
{
    Scene3D out;
    for (std::size_t k = 0; k < BatchCount; ++k) {
        const auto kind = static_cast<BatchKind>(k);
        Batch3D& b = out.batches[k];
        b.mesh = meshOf(kind);
        b.layer = layerOf(kind);
        b.translucent = b.layer == ViewLayer::Collision;
        b.standing = kind == BatchKind::SceneBoxes || kind == BatchKind::CacheBoxes;
    }
    // The scene's objects on a second thread while this one does the other files (their batches,
    // place tables and bounds are apart); the cylinders wait for both, as they span everything.
    if (source.scene)
        out.places[static_cast<std::size_t>(ViewLayer::Scene)].assign(source.scene->entryCount(), Scene3D::NoInstance);
    if (source.cache)
        out.places[static_cast<std::size_t>(ViewLayer::Cache)].assign(source.cache->records.size(), Scene3D::NoInstance);
    if (source.tree)
        out.places[static_cast<std::size_t>(ViewLayer::Collision)].assign(source.tree->bodyCount(), Scene3D::NoInstance);
    if (source.model)
        out.places[static_cast<std::size_t>(ViewLayer::Frames)].assign(source.model->frames.size(), Scene3D::NoInstance);

    // Two workers, each with half of the scene's objects and a share of the bodies, the first also
    // with the cache (so that both have about as much to do), the second with the frames and the
    // route. Each writes only its own shares, and reads the files (a body's values are worked out on
    // first reading, each in its own row).
    const auto sceneRows = source.scene ? std::min<std::uint32_t>(source.scene->FirstScriptIndex,
                                                                  static_cast<std::uint32_t>(source.scene->entryCount()))
                                        : 0u;
    const auto bodies = source.tree ? static_cast<std::uint32_t>(source.tree->bodyCount()) : 0u;
    const std::uint32_t bodiesFirst = bodies / 5 * 2;
    std::vector<Share> shares(6);
    Bounds routeBounds;
    sideBySide(
        [&] {
            if (source.scene)
                addScene(shares[0], *source.scene, 0, sceneRows / 2);
            if (source.cache)
                addCache(shares[2], *source.cache);
            if (source.tree)
                addBodies(shares[3], *source.tree, 0, bodiesFirst);
        },
        [&] {
            if (source.scene)
                addScene(shares[1], *source.scene, sceneRows / 2, sceneRows);
            if (source.model)
                addFrames(shares[5], *source.model);
            addRoute(out.route, routeBounds, source.route);
            if (source.tree)
                addBodies(shares[4], *source.tree, bodiesFirst, bodies);
        });
    Bounds bounds = routeBounds;
    Cylinders cylinders;
    for (Share& share : shares) {
        bounds.cover(share.bounds);
        cylinders.insert(cylinders.end(), share.cylinders.begin(), share.cylinders.end());
    }
    if (source.tree) {
        Share upright;
        addCylinders(upright, *source.tree, cylinders, bounds);
        bounds.cover(upright.bounds);
        shares.push_back(std::move(upright));
    }
    // The scene's batches on the second thread, the rest here.
    const auto sceneBatch = [](std::size_t k) { return k <= static_cast<std::size_t>(BatchKind::SceneMarkers); };
    sideBySide(
        [&] {
            for (std::size_t k = 0; k < BatchCount; ++k)
                if (sceneBatch(k))
                    putBatchTogether(out, k, shares);
        },
        [&] {
            for (std::size_t k = 0; k < BatchCount; ++k)
                if (!sceneBatch(k))
                    putBatchTogether(out, k, shares);
        });
    out.empty = out.itemCount() == 0 && out.route.empty();
    out.min = out.empty ? Vec3{} : bounds.min;
    out.max = out.empty ? Vec3{} : bounds.max;
    return out;
}

} // namespace mw
