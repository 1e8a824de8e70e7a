#pragma once
// What the 3D view draws of a mission, as instance data: one placement and colour per item, grouped
// by the unit mesh it is drawn with, so that each group is one draw call. Scene objects by kind (a
// box for cars, buildings and things, an upright box for humans, a small sphere for lights and
// sounds, a marker for the rest), those with a rotation with an arrow for where they face; cached
// objects as boxes of their own size, as the map draws their footprint; collision bodies in their
// real shapes, translucent and coloured by material; model frames as markers; the race route as a
// line. Anything whose place or size is not finite or lies beyond the world's limit is left out
// (and counted). Standard C++: the view draws it, picking and the tests read it.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneCatalogue.h"
#include "foundation/geometry/Ray.h"
#include "render/common/ItemKinds.h"
#include "render/common/Layers.h"
#include "render/view3d/Mat4.h"

namespace mw {

// The unit meshes: a box and an upright cylinder from -0.5 to 0.5, a sphere of diameter 1, a marker
// (a double pyramid) as tall and wide as 1.
enum class Mesh3D : std::uint8_t { Box, Sphere, Cylinder, Marker };

struct Instance3D {
    std::array<float, 12> columns{}; // the scaled axes x, y, z and the position
    // Red in the lowest byte. The alpha of a scene or cached object says whether it has a facing
    // to show, an arrow along its z axis (FacingAlpha), or none (NoFacingAlpha); both draw opaque.
    std::uint32_t rgba = 0;

    Vec3 column(int i) const { return {columns[i * 3], columns[i * 3 + 1], columns[i * 3 + 2]}; }
};

struct Batch3D {
    Mesh3D mesh = Mesh3D::Box;
    ViewLayer layer = ViewLayer::Scene;
    bool translucent = false; // the collision bodies: faces seen through, edges drawn
    bool standing = false;    // its items stand on their translation (their centre half their height above)
    std::vector<Instance3D> instances;
    std::vector<std::uint32_t> rows; // the row in the layer's list each instance stands for

    ItemRef item(std::size_t k) const { return {layer, rows[k]}; }
};

// The batches, in the order they are drawn (the translucent ones last); each holds one layer.
enum class BatchKind : std::uint8_t {
    SceneBoxes,
    SceneSpheres,
    SceneMarkers,
    CacheBoxes,
    FrameMarkers,
    BodyBoxes,
    BodySpheres,
    BodyCylinders,
    Count
};

// The mesh and the layer of each batch: fixed, so that a batch is drawn in its own shape whatever
// scene reaches the renderer first.
constexpr Mesh3D meshOf(BatchKind kind)
{
    switch (kind) {
    case BatchKind::SceneSpheres:
    case BatchKind::BodySpheres: return Mesh3D::Sphere;
    case BatchKind::SceneMarkers:
    case BatchKind::FrameMarkers: return Mesh3D::Marker;
    case BatchKind::BodyCylinders: return Mesh3D::Cylinder;
    default: return Mesh3D::Box;
    }
}
constexpr ViewLayer layerOf(BatchKind kind)
{
    switch (kind) {
    case BatchKind::SceneBoxes:
    case BatchKind::SceneSpheres:
    case BatchKind::SceneMarkers: return ViewLayer::Scene;
    case BatchKind::CacheBoxes: return ViewLayer::Cache;
    case BatchKind::FrameMarkers: return ViewLayer::Frames;
    default: return ViewLayer::Collision;
    }
}

struct Scene3D {
    std::array<Batch3D, static_cast<std::size_t>(BatchKind::Count)> batches;
    std::vector<Vec3> route;              // the route's points in order
    Vec3 min, max;                        // what every item covers
    bool empty = true;
    // Items left out because a place or size is not finite or lies beyond the world's limit.
    std::size_t leftOut = 0;

    // Where each item's instance is, by layer and row: the batch in the top byte, the instance
    // below; NoInstance for a row that is not drawn.
    static constexpr std::uint32_t NoInstance = 0xFFFFFFFFu;
    std::array<std::vector<std::uint32_t>, ViewLayerCount> places;
    struct Place {
        BatchKind batch;
        std::uint32_t index;
        bool operator==(const Place&) const = default;
    };
    std::optional<Place> find(ItemRef item) const;
    const Instance3D* instance(ItemRef item) const;

    Batch3D& batch(BatchKind kind) { return batches[static_cast<std::size_t>(kind)]; }
    const Batch3D& batch(BatchKind kind) const { return batches[static_cast<std::size_t>(kind)]; }
    std::size_t itemCount() const;
    // Bytes of memory the data holds.
    std::size_t memoryBytes() const;
};

struct Scene3DSource {
    const SceneCatalogue* scene = nullptr;
    const CacheLoadResult* cache = nullptr;
    const CollisionLoadResult* tree = nullptr;
    const ModelLoadResult* model = nullptr;
    std::span<const std::uint8_t> route; // check.bin; empty when there is none
};

// The sizes an object is drawn at before its own size scales it.
inline constexpr Vec3 CarSize{1.8f, 1.5f, 4.5f};     // wide, high, long (it faces +z)
inline constexpr Vec3 HumanSize{0.6f, 1.8f, 0.4f};
inline constexpr Vec3 BuildingSize{6, 6, 6};
inline constexpr Vec3 ThingSize{1, 1, 1};
inline constexpr float LightDiameter = 0.6f, SoundDiameter = 0.8f, MarkerSize = 0.5f, FrameMarkerSize = 0.35f;
// How far an object's facing arrow reaches beyond the front of its shape.
inline constexpr float ArrowLength = 1.5f;
inline constexpr std::uint8_t FacingAlpha = 255, NoFacingAlpha = 254;

Scene3D buildScene3D(const Scene3DSource& source);

// One item's instance and the batch it is drawn in.
struct ItemInstance {
    BatchKind batch = BatchKind::SceneBoxes;
    Instance3D instance;
};

// A scene object, cached object or frame as it would be drawn standing at `translation`, turned by
// the four rotation floats `rotation` (in its file's layout), the rest of it as the readers hold it:
// what a placing command's preview draws of the place it will write. Nothing when it is not drawn
// there (no such row, or a place or size beyond the world).
std::optional<ItemInstance> placedInstance(const Scene3DSource& source, ItemRef item, Vec3 translation,
                                           const std::array<float, 4>& rotation);

// The instances of `rows` of a layer made again from the readers, after a command wrote them. False
// when the scene must be built anew instead: a row appeared or vanished, or changed its batch.
bool updateScene3D(Scene3D& scene, const Scene3DSource& source, ViewLayer layer, std::span<const std::uint32_t> rows);

// The box around the items drawn (each as the sphere through its shape's corners), or nothing
// when none of them is drawn.
struct Box3 {
    Vec3 min, max;
};
std::optional<Box3> boundsOf(const Scene3D& scene, std::span<const ItemRef> items);
// The same for every item drawn that `counts`.
std::optional<Box3> boundsOf(const Scene3D& scene, const std::function<bool(ItemRef)>& counts);

// The box an instance of the box mesh draws, with all three axes even where a side is flat.
OrientedBox boxOf(const Instance3D& instance);

// The colour of a collision body of the material: one hue per code, seen through.
std::uint32_t materialColour(std::uint8_t material);

} // namespace mw
