#pragma once
// The solid items of the scene, lit, in their shapes; the items too small for their shapes as
// points; and the arrow of every scene and cached object that has a facing, from its centre out
// beyond its front.

#include "render/view3d/passes/SceneDraw.h"

namespace mw {

class InstancesPass final : public RenderPass {
public:
    explicit InstancesPass(const SceneDraw& scene) : m_scene(scene) {}
    void draw(const FrameContext& frame) override;

private:
    void drawArrows(const FrameContext& frame);

    const SceneDraw& m_scene;
};

// Points of their own colours, opaque (the items too small for their shapes).
void drawDots(const FrameContext& frame, const ColouredDraw& points);

} // namespace mw
