#pragma once
// The selection, seen through everything: each selected item in its own shape, its faces tinted
// and its edges in the highlight colour (a point where it is too small for its shape), and the
// lines drawn with it (a light's range).

#include <array>
#include <vector>

#include "render/view3d/FrameCulling.h"
#include "render/view3d/passes/RenderPass.h"

namespace mw {

// What is drawn over the scene, seen through whatever stands in front: the selected items, each in
// its own shape tinted and edged in the highlight colour, and the lights' range circles.
struct Highlight3D {
    std::array<std::vector<Instance3D>, 4> items; // by Mesh3D
    std::vector<Vec3> lines;                      // pairs: range circles and the like
};

// The colour the selection is drawn in.
inline constexpr float HighlightRgb[3] = {1.0f, 0.85f, 0.0f};

class SelectionPass final : public RenderPass {
public:
    explicit SelectionPass(GlResources& gl);
    void setHighlight(const Highlight3D& highlight);
    void draw(const FrameContext& frame) override;

private:
    Highlight3D m_highlight; // culled into the buffers each frame
    std::vector<InstanceDraw> m_shapes; // by Mesh3D
    std::array<std::vector<Instance3D>, 4> m_inView;
    std::vector<FramePoint> m_pointsInView;
    ColouredDraw m_points;
    LineDraw m_lines;
};

} // namespace mw
