#pragma once
// One pass of a frame of the 3D view: what it draws, with which buffers, in which GL state. A pass
// finds the context in the base state (depth test on, blending off, depth writes on, no face
// culling) and leaves it so; the renderer runs the passes in their order.

#include <QMatrix4x4>

#include "render/view3d/Camera.h"
#include "render/view3d/Scene3D.h"
#include "render/view3d/gl/GlResources.h"

namespace mw {

// What every pass of one frame draws with.
struct FrameContext {
    GlResources& gl;
    const Camera& camera;      // its viewport the framebuffer's
    int width = 1, height = 1; // pixels
    QMatrix4x4 viewProjection; // as the shaders take it
    LayerSwitches shown{};

    bool isShown(ViewLayer layer) const { return shown[static_cast<std::size_t>(layer)]; }
};

class RenderPass {
public:
    virtual ~RenderPass() = default;
    virtual void draw(const FrameContext& frame) = 0;
};

} // namespace mw
