#pragma once
// The scene's instances as one frame draws them: each batch's items in view and more than a pixel
// wide in their shapes, the rest in view as single points, culled and put into their buffers once
// per frame before the passes that draw them (the solid items, the collision bodies).

#include <array>
#include <memory>
#include <vector>

#include "render/view3d/FrameCulling.h"
#include "render/view3d/passes/RenderPass.h"

namespace mw {

class SceneDraw {
public:
    explicit SceneDraw(GlResources& gl);
    void setScene(std::shared_ptr<const Scene3D> scene) { m_scene = std::move(scene); }
    void setOverrides(DrawOverrides overrides) { m_overrides = std::move(overrides); }
    const Scene3D* scene() const { return m_scene.get(); }
    // Culls the scene for the frame and fills the buffers.
    void prepare(const FrameContext& frame);

    const InstanceDraw& batch(std::size_t k) const { return m_batches[k]; }
    const ColouredDraw& points() const { return m_points; }

private:
    std::shared_ptr<const Scene3D> m_scene;
    DrawOverrides m_overrides;
    FrameDraw m_frame; // what the last frame drew; its memory is kept
    std::vector<InstanceDraw> m_batches; // by BatchKind
    ColouredDraw m_points;
};

} // namespace mw
