#pragma once
// The selection, seen through everything: each selected item in its own shape, its faces tinted
// and its edges in the highlight colour (a point where it is too small for its shape), and the
// lines drawn with it (a light's range); the item under the cursor edged in white.

#include <array>
#include <vector>

#include "render/view3d/FrameCulling.h"
#include "render/view3d/Highlight.h"
#include "render/view3d/passes/RenderPass.h"

namespace mw {

class SelectionPass final : public RenderPass {
public:
    explicit SelectionPass(GlResources& gl);
    void setHighlight(const Highlight3D& highlight);
    void draw(const FrameContext& frame) override;

private:
    Highlight3D m_highlight; // culled into the buffers each frame
    std::vector<InstanceDraw> m_shapes; // by Mesh3D
    std::vector<InstanceDraw> m_hover;  // by Mesh3D
    std::array<std::vector<Instance3D>, 4> m_inView;
    std::vector<FramePoint> m_pointsInView;
    ColouredDraw m_points;
    LineDraw m_lines;
};

} // namespace mw
