#pragma once
// Picking in the 3D view: the item a ray meets first among the layers shown, and the scene objects
// whose centres fall inside a rectangle of the picture. A bounding-volume tree over every item keeps
// a pick of the largest mission well under a millisecond; it is built when first asked for.

#include <array>
#include <cstdint>
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

class Picker {
public:
    // The scene must outlive the picker and stay as it is.
    explicit Picker(const Scene3D& scene) : m_scene(scene) {}

    std::optional<PickHit> pick(const Ray& ray, const LayerSwitches& shown) const;
    // The scene objects whose centres the camera shows inside the rectangle (corners in pixels).
    std::vector<std::uint32_t> sceneRowsInside(const Camera& camera, PixelPoint a, PixelPoint b) const;
    // Builds the tree now (a pick builds it when there is none).
    void prepare() const;
    // The scene's instances moved: the tree is built again when next asked for.
    void invalidate() { m_built = false; }
    // Bytes of memory the tree holds.
    std::size_t memoryBytes() const { return m_leaves.capacity() * sizeof(Leaf) + m_nodes.capacity() * sizeof(Node); }

private:
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
