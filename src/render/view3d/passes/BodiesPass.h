#pragma once
// The collision bodies, seen through: their edges, then their faces blended over what stands
// behind them.

#include "render/view3d/passes/SceneDraw.h"

namespace mw {

class BodiesPass final : public RenderPass {
public:
    explicit BodiesPass(const SceneDraw& scene) : m_scene(scene) {}
    void draw(const FrameContext& frame) override;

private:
    const SceneDraw& m_scene;
};

} // namespace mw
