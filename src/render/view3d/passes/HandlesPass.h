#pragma once
// The move and turn handles, over everything: coloured lines and seen-through triangles.

#include <vector>

#include "render/view3d/passes/RenderPass.h"

namespace mw {

class HandlesPass final : public RenderPass {
public:
    explicit HandlesPass(GlResources& gl) : m_lines(gl), m_triangles(gl) {}
    // Pairs of vertices for lines, triples for triangles.
    void setShapes(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles);
    void draw(const FrameContext& frame) override;

private:
    ColouredDraw m_lines, m_triangles;
};

} // namespace mw
