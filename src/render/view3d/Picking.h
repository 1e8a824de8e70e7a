#pragma once
// Picking in the 3D view: the item a ray meets first among the layers that can be picked, what
// modders place (scene objects, cached objects, frames) before the collision bodies that wrap them;
// every item along a ray in that order (a second click cycles through them); and the items whose
// centres fall inside a rectangle of the picture. A bounding-volume tree over every item keeps a
// pick of the largest mission well under a millisecond; it is built when first asked for.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "foundation/geometry/Ray.h"
#include "render/view3d/Camera.h"
#include "render/view3d/Scene3D.h"

namespace mw {

struct PickHit {
    ItemRef item;
    float distance = 0;
    Vec3 point;
};

// Where an instance meets a ray (a box, sphere, upright cylinder or marker as drawn); nothing when
// it does not, or when the ray starts inside it (a body the camera stands in is no target).
std::optional<float> hitInstance(const Ray& ray, Mesh3D mesh, const Instance3D& instance);

// What a pick may meet: the layers it reaches, and items passed over one by one (hidden or locked).
struct PickFilter {
    LayerSwitches layers{true, true, true, true, true};
    std::function<bool(ItemRef)> passOver; // empty: none

    bool reaches(ItemRef item) const { return layers[indexOf(item.layer)] && !(passOver && passOver(item)); }
};

// Clicks at one spot go round what lies there: a click within a few pixels of the last one, on
// the same items, takes the next of them; anywhere else, or a toggling click, the first.
class PickCycle {
public:
    static constexpr float SamePlace = 3; // pixels, either way
    // The item a click takes of `hits` (in the order picks take them), and its place among them.
    std::pair<ItemRef, std::size_t> next(PixelPoint at, std::vector<ItemRef> hits, bool toggle);
    void forget() { m_hits.clear(); }

private:
    PixelPoint m_at{-100, -100};
    std::vector<ItemRef> m_hits;
    std::size_t m_next = 0;
};

class Picker {
public:
    // The scene must outlive the picker and stay as it is (invalidate() when its instances move).
    explicit Picker(const Scene3D& scene) : m_scene(scene) {}

    // The nearest item of the scene's own things along the ray; the nearest collision body only
    // where the ray meets none of them.
    std::optional<PickHit> pick(const Ray& ray, const PickFilter& filter) const;
    // Every item the ray meets, in the order picks take them: the scene's own things nearest first,
    // then the bodies nearest first.
    std::vector<PickHit> hitsAlong(const Ray& ray, const PickFilter& filter) const;
    // The items of every layer the filter reaches whose centres the camera shows inside the
    // rectangle (corners in pixels), in order.
    std::vector<ItemRef> itemsInside(const Camera& camera, PixelPoint a, PixelPoint b, const PickFilter& filter) const;
    // Builds the tree now (a pick builds it when there is none).
    void prepare() const;
    // The scene's instances moved: the tree is built again when next asked for.
    void invalidate() { m_built = false; }
    // Bytes of memory the tree holds.
    std::size_t memoryBytes() const { return m_leaves.capacity() * sizeof(Leaf) + m_nodes.capacity() * sizeof(Node); }

private:
    // The nearest hit of the items `wanted` takes, or every hit when `all` is given.
    std::optional<PickHit> walk(const Ray& ray, const PickFilter& filter, bool bodies, std::vector<PickHit>* all) const;

    struct Leaf {
        std::uint8_t batch;
        std::uint32_t index;
    };
    struct Node {
        Vec3 min, max;
        std::uint32_t first = 0, count = 0; // leaves [first, first + count) when count > 0
        std::uint32_t left = 0, right = 0;  // children otherwise
    };
    const Scene3D& m_scene;
    mutable std::vector<Leaf> m_leaves;
    mutable std::vector<Node> m_nodes;
    mutable bool m_built = false;
};

} // namespace mw
