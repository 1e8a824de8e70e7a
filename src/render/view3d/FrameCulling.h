#pragma once
// What one frame draws of the scene: the items in view that cover more than a pixel, in their
// shapes, batch by batch; the items in view too small for that, as single points in their colour.
// A mission seen whole (tens of thousands of items, most of them a pixel wide) costs a point each
// instead of a mesh each; what lies outside the view costs nothing to draw.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "render/view3d/Camera.h"
#include "render/view3d/Scene3D.h"

namespace mw {

struct FramePoint {
    Vec3 position;
    std::uint32_t rgba = 0;
};

struct FrameDraw {
    std::array<std::vector<Instance3D>, static_cast<std::size_t>(BatchKind::Count)> shapes;
    std::vector<FramePoint> points;
};

// What a frame draws otherwise than the scene holds it, by batch: instances passed over (hidden,
// or drawn elsewhere while a drag shows where they would go) and instances drawn besides.
struct DrawOverrides {
    std::array<std::vector<bool>, static_cast<std::size_t>(BatchKind::Count)> skipped; // empty: none
    std::array<std::vector<Instance3D>, static_cast<std::size_t>(BatchKind::Count)> added;

    bool empty() const;
    // The instance at `place` of a batch of `batchSize` is not drawn.
    void skip(Scene3D::Place place, std::size_t batchSize);
    bool skips(Scene3D::Place place) const;
};

// Overrides that pass over the instances of every row `marked` marks in its file ({} when none).
DrawOverrides skippingRows(const Scene3D& scene, const std::function<const std::vector<bool>&(MissionFile)>& marked);

// Items whose bounding sphere is smaller than this on the picture, in pixels of radius, are points.
inline constexpr float PointRadius = 1.0f;

// Fills `out` (its vectors keep their memory from frame to frame) for the camera's picture.
void cullForFrame(const Scene3D& scene, const Camera& camera, const LayerSwitches& shown, FrameDraw& out,
                  const DrawOverrides* overrides = nullptr);

// The same for a list of instances: those in view and large enough into `shapes`, the rest in view
// into `points` (in their own colours, or in `pointColour` when it is given), both appended to.
void cullInstances(const std::vector<Instance3D>& instances, const Camera& camera, std::vector<Instance3D>& shapes,
                   std::vector<FramePoint>& points, std::optional<std::uint32_t> pointColour = {});

} // namespace mw
