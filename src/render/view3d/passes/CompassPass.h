#pragma once
// The compass: the world's axes as the camera turns them, in the lower left corner (x red, y
// green, z blue).

#include "render/view3d/passes/RenderPass.h"

namespace mw {

class CompassPass final : public RenderPass {
public:
    explicit CompassPass(GlResources& gl);
    void draw(const FrameContext& frame) override;

private:
    LineDraw m_axes;
};

} // namespace mw
