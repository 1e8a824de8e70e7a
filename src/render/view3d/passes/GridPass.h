#pragma once
// The ground grid at y = 0: 1 m and 10 m lines around the camera, fading with distance, drawn
// first and seen through what stands on it.

#include "render/view3d/passes/RenderPass.h"

namespace mw {

class GridPass final : public RenderPass {
public:
    explicit GridPass(GlResources& gl);
    void draw(const FrameContext& frame) override;

private:
    LineDraw m_fine, m_coarse;
};

} // namespace mw
