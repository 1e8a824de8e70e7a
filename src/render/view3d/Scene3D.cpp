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

// What one item makes: its instance, or none; `leftOut` when a place or size of it is damaged.
struct Made {
    std::optional<ItemInstance> item;
    bool leftOut = false;
};
const Made LeftOut{std::nullopt, true};

// No rotation: the scene's layout of the unit quaternion (y, z, w, x).
constexpr std::array<float, 4> NoTurn{0, 0, 1, 0};

Instance3D instanceOf(const Mat3& axes, Vec3 size, Vec3 centre, std::uint32_t rgba)
{
    const Vec3 x = axes.x * size.x, y = axes.y * size.y, z = axes.z * size.z;
    return {{x.x, x.y, x.z, y.x, y.y, y.z, z.x, z.y, z.z, centre.x, centre.y, centre.z}, rgba};
}

// How far an instance reaches from its centre along x, y and z.
Vec3 halfReach(const Instance3D& i) { return reachOf({i.column(0), i.column(1), i.column(2)}, {0.5f, 0.5f, 0.5f}); }

// An item is drawn only where all of it lies within the world.
Made made(BatchKind batch, const Instance3D& instance)
{
    const Vec3 c = instance.column(3);
    const Vec3 half = halfReach(instance);
    if (!withinWorld(c) || !withinWorld(half) || !withinWorld(c + half) || !withinWorld(c - half))
        return LeftOut;
    return {ItemInstance{batch, instance}};
}

std::array<std::uint32_t, MarkerKindCount> kindColours(std::uint8_t alpha)
{
    std::array<std::uint32_t, MarkerKindCount> colours{};
    for (std::size_t k = 0; k < colours.size(); ++k)
        colours[k] = packRgba(markerColour(static_cast<MarkerKind>(k)), alpha);
    return colours;
}

Made sceneItem(const SceneCatalogue& scene, std::uint32_t row, Vec3 t, const std::array<float, 4>& q)
{
    static const auto facing = kindColours(FacingAlpha), plain = kindColours(NoFacingAlpha);
    const SceneRecord& r = scene.records[row];
    const Vec3 scale = r.SizeOffset ? scene.size(row) : Vec3{1, 1, 1};
    if (!withinWorld(t) || !withinWorld(scale))
        return LeftOut;
    const Mat3 axes = r.RotationOffset ? orientationOf(q, RotationLayout::Scene) : Mat3{};
    const MarkerKind kind = markerKindOf(scene, row);
    const std::uint32_t colour = (r.RotationOffset ? facing : plain)[static_cast<std::size_t>(kind)];
    // Things that stand on the ground stand on their translation.
    const auto standing = [&](Vec3 size) {
        const Vec3 s{size.x * scale.x, size.y * scale.y, size.z * scale.z};
        return made(BatchKind::SceneBoxes, instanceOf(axes, s, t + axes.y * (s.y / 2), colour));
    };
    switch (kind) {
    case MarkerKind::Car: return standing(CarSize);
    case MarkerKind::Human: return standing(HumanSize);
    case MarkerKind::Building: return standing(BuildingSize);
    case MarkerKind::Model: return standing(ThingSize);
    // Round shapes turn with their object too: their arrow faces where the object does.
    case MarkerKind::Light: return made(BatchKind::SceneSpheres, instanceOf(axes, Vec3{1, 1, 1} * LightDiameter, t, colour));
    case MarkerKind::Sound: return made(BatchKind::SceneSpheres, instanceOf(axes, Vec3{1, 1, 1} * SoundDiameter, t, colour));
    case MarkerKind::Other: break;
    }
    return made(BatchKind::SceneMarkers, instanceOf(axes, Vec3{1, 1, 1} * MarkerSize, t, colour));
}

// A cached object as large as its size, in metres, standing on its position: the footprint the
// map draws.
Made cacheItem(const CacheRecord& r, Vec3 position, const std::array<float, 4>& rotation)
{
    if (!withinWorld(position) || !withinWorld(r.size))
        return LeftOut;
    const Mat3 axes = orientationOf(rotation, RotationLayout::Cache);
    const Vec3 size{std::fabs(r.size.x), std::fabs(r.size.y), std::fabs(r.size.z)};
    return made(BatchKind::CacheBoxes, instanceOf(axes, size, position + axes.y * (size.y / 2), packRgba(CacheColour, FacingAlpha)));
}

Made frameItem(Vec3 position)
{
    if (!withinWorld(position))
        return LeftOut;
    return made(BatchKind::FrameMarkers, instanceOf({}, Vec3{1, 1, 1} * FrameMarkerSize, position, packRgba(20, 20, 20)));
}

// The height a cylinder is drawn over: the file gives none, so it spans everything else loaded.
struct Span {
    float bottom = 0, top = CylinderFallbackHeight;
};
Span spanOf(const Bounds& everything)
{
    if (everything.min.y < everything.max.y)
        return {everything.min.y, everything.max.y};
    return {};
}

Made bodyItem(const BodyShape& shape, std::uint8_t material, Span span)
{
    const std::uint32_t colour = materialColour(material);
    switch (shape.kind) {
    case BodyShape::Kind::Box:
        return made(BatchKind::BodyBoxes, instanceOf(shape.box.axes, shape.box.half * 2, shape.box.centre, colour));
    case BodyShape::Kind::Sphere:
        return made(BatchKind::BodySpheres, instanceOf({}, Vec3{1, 1, 1} * (2 * shape.radius), shape.centre, colour));
    case BodyShape::Kind::Cylinder:
        break;
    }
    const Vec3 centre{shape.centre.x, (span.bottom + span.top) / 2, shape.centre.z};
    return made(BatchKind::BodyCylinders,
                instanceOf({}, {2 * shape.radius, span.top - span.bottom, 2 * shape.radius}, centre, colour));
}

// What one share of the work makes: instances and their rows for some batches, the bounds,
// the items left out, and the cylinders, which are added last (they span everything else). The
// shares are made side by side and put together in order, so the result is the same as one pass
// over every row.
struct Share {
    std::array<std::vector<Instance3D>, BatchCount> instances;
    std::array<std::vector<std::uint32_t>, BatchCount> rows;
    Bounds bounds;
    Cylinders cylinders;
    std::size_t leftOut = 0;

    // Room for up to `count` items in each batch: memory a share does not touch is never used.
    void reserve(std::initializer_list<BatchKind> kinds, std::size_t count)
    {
        for (const BatchKind kind : kinds) {
            instances[static_cast<std::size_t>(kind)].reserve(count);
            rows[static_cast<std::size_t>(kind)].reserve(count);
        }
    }
    void add(std::uint32_t row, const Made& made)
    {
        if (made.leftOut)
            ++leftOut;
        if (!made.item)
            return;
        const auto k = static_cast<std::size_t>(made.item->batch);
        instances[k].push_back(made.item->instance);
        rows[k].push_back(row);
        const Vec3 c = made.item->instance.column(3);
        const Vec3 half = halfReach(made.item->instance);
        bounds.cover(c - half, c + half);
    }
};

void addScene(Share& out, const SceneCatalogue& scene, std::uint32_t first, std::uint32_t end)
{
    out.reserve({BatchKind::SceneBoxes, BatchKind::SceneSpheres, BatchKind::SceneMarkers}, end - first);
    for (std::uint32_t row = first; row < end; ++row) {
        const SceneRecord& r = scene.records[row];
        if (!r.isScript && r.TranslationOffset != 0)
            out.add(row, sceneItem(scene, row, scene.translation(row), r.RotationOffset ? scene.rotation(row) : NoTurn));
    }
}

void addCache(Share& out, const CacheLoadResult& cache)
{
    out.reserve({BatchKind::CacheBoxes}, cache.records.size());
    for (std::uint32_t row = 0; row < cache.records.size(); ++row) {
        const CacheRecord& r = cache.records[row];
        if (r.TranslationOffset != 0) // a base record has no place
            out.add(row, cacheItem(r, r.position, r.rotation));
    }
}

void addFrames(Share& out, const ModelLoadResult& model)
{
    out.reserve({BatchKind::FrameMarkers}, model.frames.size());
    for (std::uint32_t row = 0; row < model.frames.size(); ++row)
        out.add(row, frameItem(model.frames[row].position));
}

void addRoute(std::vector<Vec3>& points, Bounds& bounds, std::size_t& leftOut, std::span<const std::uint8_t> route)
{
    if (!holdsRoutePoints(route))
        return;
    const ByteReader r(route);
    points.reserve(RoutePoints);
    for (std::uint32_t i = 0; i < RoutePoints; ++i) {
        const std::size_t at = routePointOffset(i);
        const Vec3 p{r.f32(at), r.f32(at + 4), r.f32(at + 8)};
        if (!withinWorld(p)) {
            ++leftOut;
            continue;
        }
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
        if (shape && shape->kind == BodyShape::Kind::Cylinder)
            out.cylinders.emplace_back(row, *shape);
        else if (shape)
            out.add(row, bodyItem(*shape, tree.body(row).material, {}));
    }
}

// The cylinders, upright from the lowest to the highest point of everything else.
void addCylinders(Share& out, const CollisionLoadResult& tree, const Cylinders& cylinders, const Bounds& everything)
{
    const Span span = spanOf(everything);
    out.reserve({BatchKind::BodyCylinders}, cylinders.size());
    for (const auto& [row, shape] : cylinders)
        out.add(row, bodyItem(shape, tree.body(row).material, span));
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

namespace {

// An item as the readers hold it now; cylinders over `span`.
Made currentItem(const Scene3DSource& source, ItemRef item, Span span)
{
    const std::uint32_t row = item.row;
    switch (item.layer) {
    case ViewLayer::Scene: {
        if (!source.scene || row >= source.scene->entryCount())
            return {};
        const SceneRecord& r = source.scene->records[row];
        if (r.isScript || r.TranslationOffset == 0)
            return {};
        return sceneItem(*source.scene, row, source.scene->translation(row), r.RotationOffset ? source.scene->rotation(row) : NoTurn);
    }
    case ViewLayer::Cache:
        if (!source.cache || row >= source.cache->records.size() || source.cache->records[row].TranslationOffset == 0)
            return {};
        return cacheItem(source.cache->records[row], source.cache->records[row].position, source.cache->records[row].rotation);
    case ViewLayer::Frames:
        if (!source.model || row >= source.model->frames.size())
            return {};
        return frameItem(source.model->frames[row].position);
    case ViewLayer::Collision:
        if (!source.tree || row >= source.tree->bodyCount())
            return {};
        if (const auto shape = bodyShapeOf(*source.tree, row))
            return bodyItem(*shape, source.tree->body(row).material, span);
        return {};
    case ViewLayer::Route:
        break;
    }
    return {};
}

} // namespace

std::optional<ItemInstance> placedInstance(const Scene3DSource& source, ItemRef item, Vec3 translation,
                                           const std::array<float, 4>& rotation)
{
    switch (item.layer) {
    case ViewLayer::Scene:
        if (!source.scene || item.row >= source.scene->entryCount() || source.scene->records[item.row].isScript)
            return std::nullopt;
        return sceneItem(*source.scene, item.row, translation, rotation).item;
    case ViewLayer::Cache:
        if (!source.cache || item.row >= source.cache->records.size())
            return std::nullopt;
        return cacheItem(source.cache->records[item.row], translation, rotation).item;
    case ViewLayer::Frames:
        return frameItem(translation).item;
    case ViewLayer::Collision:
    case ViewLayer::Route:
        break;
    }
    return std::nullopt;
}

bool updateScene3D(Scene3D& scene, const Scene3DSource& source, ViewLayer layer, std::span<const std::uint32_t> rows)
{
    if (layer == ViewLayer::Route)
        return false;
    const Span span = scene.empty ? Span{} : Span{scene.min.y, scene.max.y};
    for (const std::uint32_t row : rows) {
        const ItemRef item{layer, row};
        if (row >= scene.places[indexOf(layer)].size())
            return false;
        const Made now = currentItem(source, item, span);
        const auto place = scene.find(item);
        if (!now.item || !place || place->batch != now.item->batch)
            return false;
        scene.batch(place->batch).instances[place->index] = now.item->instance;
        const Vec3 c = now.item->instance.column(3), half = halfReach(now.item->instance);
        scene.min = minOf(scene.min, c - half);
        scene.max = maxOf(scene.max, c + half);
    }
    return true;
}

namespace {

void cover(std::optional<Box3>& box, const Instance3D& i)
{
    const Vec3 c = i.column(3);
    const float r = (length(i.column(0)) + length(i.column(1)) + length(i.column(2))) / 2;
    const Vec3 half{r, r, r};
    box = box ? Box3{minOf(box->min, c - half), maxOf(box->max, c + half)} : Box3{c - half, c + half};
}

} // namespace

std::optional<Box3> boundsOf(const Scene3D& scene, std::span<const ItemRef> items)
{
    std::optional<Box3> box;
    for (const ItemRef& item : items)
        if (const Instance3D* i = scene.instance(item))
            cover(box, *i);
    return box;
}

std::optional<Box3> boundsOf(const Scene3D& scene, const std::function<bool(ItemRef)>& counts)
{
    std::optional<Box3> box;
    for (const Batch3D& batch : scene.batches)
        for (std::size_t k = 0; k < batch.instances.size(); ++k)
            if (counts(batch.item(k)))
                cover(box, batch.instances[k]);
    return box;
}

OrientedBox boxOf(const Instance3D& i)
{
    const Vec3 columns[3] = {i.column(0), i.column(1), i.column(2)};
    Vec3 axes[3] = {normalized(columns[0]), normalized(columns[1]), normalized(columns[2])};
    // A flat side keeps its direction: made again from the other two (or from the world's axes
    // where two sides are flat), so that a plate is a plate and not an endless column.
    for (int k = 0; k < 3; ++k) {
        if (length(axes[k]) > 0)
            continue;
        const Vec3 a = axes[(k + 1) % 3], b = axes[(k + 2) % 3];
        if (length(a) > 0 && length(b) > 0) {
            axes[k] = normalized(cross(a, b));
        } else {
            const Vec3 world[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            const Vec3 other = length(a) > 0 ? a : b;
            axes[k] = length(other) > 0 ? normalized(cross(other, world[(k + 1) % 3])) : world[k];
            if (length(axes[k]) == 0)
                axes[k] = normalized(cross(other, world[(k + 2) % 3]));
        }
    }
    return {i.column(3), {axes[0], axes[1], axes[2]}, {length(columns[0]) / 2, length(columns[1]) / 2, length(columns[2]) / 2}};
}

const Instance3D* Scene3D::instance(ItemRef item) const
{
    const auto place = find(item);
    return place ? &batch(place->batch).instances[place->index] : nullptr;
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

namespace {

// Each batch's mesh and layer, and a place table for every row of each file, none placed yet.
void prepareBatches(Scene3D& out, const Scene3DSource& source)
{
    for (std::size_t k = 0; k < BatchCount; ++k) {
        const auto kind = static_cast<BatchKind>(k);
        Batch3D& b = out.batches[k];
        b.mesh = meshOf(kind);
        b.layer = layerOf(kind);
        b.translucent = b.layer == ViewLayer::Collision;
        b.standing = kind == BatchKind::SceneBoxes || kind == BatchKind::CacheBoxes;
    }
    if (source.scene)
        out.places[static_cast<std::size_t>(ViewLayer::Scene)].assign(source.scene->entryCount(), Scene3D::NoInstance);
    if (source.cache)
        out.places[static_cast<std::size_t>(ViewLayer::Cache)].assign(source.cache->records.size(), Scene3D::NoInstance);
    if (source.tree)
        out.places[static_cast<std::size_t>(ViewLayer::Collision)].assign(source.tree->bodyCount(), Scene3D::NoInstance);
    if (source.model)
        out.places[static_cast<std::size_t>(ViewLayer::Frames)].assign(source.model->frames.size(), Scene3D::NoInstance);
}

// Every item of the files but the cylinders, in shares made on two threads: each has half of the
// scene's objects and a share of the bodies, the first also the cache (so that both have about as
// much to do), the second the frames and the route. Each writes only its own shares, and reads
// the files (a body's values are worked out on first reading, each in its own row).
std::vector<Share> makeShares(Scene3D& out, const Scene3DSource& source, Bounds& routeBounds)
{
    const auto sceneRows = source.scene ? std::min<std::uint32_t>(source.scene->FirstScriptIndex,
                                                                  static_cast<std::uint32_t>(source.scene->entryCount()))
                                        : 0u;
    const auto bodies = source.tree ? static_cast<std::uint32_t>(source.tree->bodyCount()) : 0u;
    const std::uint32_t bodiesFirst = bodies / 5 * 2;
    std::vector<Share> shares(6);
    std::size_t routeLeftOut = 0;
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
            addRoute(out.route, routeBounds, routeLeftOut, source.route);
            if (source.tree)
                addBodies(shares[4], *source.tree, bodiesFirst, bodies);
        });
    out.leftOut = routeLeftOut;
    return shares;
}

} // namespace

Scene3D buildScene3D(const Scene3DSource& source)
{
    Scene3D out;
    prepareBatches(out, source);
    Bounds bounds;
    std::vector<Share> shares = makeShares(out, source, bounds);
    // The cylinders last: they span everything else.
    Cylinders cylinders;
    for (Share& share : shares) {
        bounds.cover(share.bounds);
        out.leftOut += share.leftOut;
        cylinders.insert(cylinders.end(), share.cylinders.begin(), share.cylinders.end());
    }
    if (source.tree) {
        Share upright;
        addCylinders(upright, *source.tree, cylinders, bounds);
        bounds.cover(upright.bounds);
        out.leftOut += upright.leftOut;
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
