#include "render/view3d/FrameCulling.h"

#include <algorithm>
#include <cmath>

namespace mw {

namespace {

struct Plane {
    Vec3 normal;
    float offset = 0;
};

// The six planes of the view, pointing inwards, from the rows of the view-projection matrix.
std::array<Plane, 6> planesOf(const Mat4& m)
{
    const auto row = [&](int r) { return std::array<float, 4>{m.at(r, 0), m.at(r, 1), m.at(r, 2), m.at(r, 3)}; };
    const auto w = row(3);
    std::array<Plane, 6> planes;
    for (int axis = 0; axis < 3; ++axis) {
        const auto r = row(axis);
        for (int side = 0; side < 2; ++side) {
            const float sign = side == 0 ? 1.0f : -1.0f;
            Plane& p = planes[static_cast<std::size_t>(axis * 2 + side)];
            p.normal = {w[0] + sign * r[0], w[1] + sign * r[1], w[2] + sign * r[2]};
            p.offset = w[3] + sign * r[3];
            const float length = mw::length(p.normal);
            if (length > 0) {
                p.normal = p.normal / length;
                p.offset /= length;
            }
        }
    }
    return planes;
}

} // namespace

namespace {

// What one frame culls with: the planes of the view and the pixels a unit covers at distance 1.
struct View {
    Mat4 viewProjection;
    std::array<Plane, 6> planes;
    float pixelsPerUnit;
};

View viewOf(const Camera& camera)
{
    View v;
    v.viewProjection = camera.viewProjection();
    v.planes = planesOf(v.viewProjection);
    // A sphere of radius r at clip w covers r * pixelsPerUnit / w pixels of radius.
    v.pixelsPerUnit = 1 / camera.worldPerPixel(1);
    return v;
}

void cull(const View& view, const std::vector<Instance3D>& instances, std::vector<Instance3D>& shapes,
          std::vector<FramePoint>& points, std::optional<std::uint32_t> pointColour, const std::vector<bool>* skipped = nullptr)
{
    for (std::size_t k = 0; k < instances.size(); ++k) {
        if (skipped && (*skipped)[k])
            continue;
        const Instance3D& i = instances[k];
        const Vec3 c = i.column(3);
        // The sphere through the corners of the unit shape as the instance places it.
        const Vec3 x = i.column(0), y = i.column(1), z = i.column(2);
        const float radius = 0.5f * std::sqrt(dot(x, x) + dot(y, y) + dot(z, z));
        bool inside = true;
        for (const Plane& p : view.planes)
            if (dot(p.normal, c) + p.offset < -radius) {
                inside = false;
                break;
            }
        if (!inside)
            continue;
        const float w = view.viewProjection.clipW(c);
        if (w > radius && radius * view.pixelsPerUnit < PointRadius * w)
            points.push_back({c, pointColour.value_or(i.rgba)});
        else
            shapes.push_back(i);
    }
}

} // namespace

bool DrawOverrides::empty() const
{
    const auto none = [](const auto& v) { return v.empty(); };
    return std::all_of(skipped.begin(), skipped.end(), none) && std::all_of(added.begin(), added.end(), none);
}

void DrawOverrides::skip(Scene3D::Place place, std::size_t batchSize)
{
    auto& flags = skipped[static_cast<std::size_t>(place.batch)];
    if (flags.empty())
        flags.assign(batchSize, false);
    if (place.index < flags.size())
        flags[place.index] = true;
}

bool DrawOverrides::skips(Scene3D::Place place) const
{
    const auto& flags = skipped[static_cast<std::size_t>(place.batch)];
    return place.index < flags.size() && flags[place.index];
}

DrawOverrides skippingRows(const Scene3D& scene, const std::function<const std::vector<bool>&(MissionFile)>& marked)
{
    DrawOverrides out;
    for (const MissionFile file : MissionFiles) {
        const std::vector<bool>& rows = marked(file);
        for (std::uint32_t row = 0; row < rows.size(); ++row)
            if (const auto place = rows[row] ? scene.find({layerOf(file), row}) : std::nullopt)
                out.skip(*place, scene.batch(place->batch).instances.size());
    }
    return out;
}

void cullForFrame(const Scene3D& scene, const Camera& camera, const LayerSwitches& shown, FrameDraw& out,
                  const DrawOverrides* overrides)
{
    for (auto& shapes : out.shapes)
        shapes.clear();
    out.points.clear();
    const View view = viewOf(camera);
    for (std::size_t k = 0; k < scene.batches.size(); ++k) {
        const Batch3D& batch = scene.batches[k];
        if (!shown[static_cast<std::size_t>(batch.layer)])
            continue;
        const std::vector<bool>* skipped = overrides && overrides->skipped[k].size() == batch.instances.size() ? &overrides->skipped[k] : nullptr;
        cull(view, batch.instances, out.shapes[k], out.points, std::nullopt, skipped);
        if (overrides)
            cull(view, overrides->added[k], out.shapes[k], out.points, std::nullopt);
    }
}

void cullInstances(const std::vector<Instance3D>& instances, const Camera& camera, std::vector<Instance3D>& shapes,
                   std::vector<FramePoint>& points, std::optional<std::uint32_t> pointColour)
{
    cull(viewOf(camera), instances, shapes, points, pointColour);
}

} // namespace mw
