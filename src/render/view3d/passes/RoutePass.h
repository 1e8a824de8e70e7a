#pragma once
// The race route: its points joined in order.

#include <vector>

#include "render/view3d/passes/RenderPass.h"

namespace mw {

class RoutePass final : public RenderPass {
public:
    explicit RoutePass(GlResources& gl) : m_route(gl) {}
    void setRoute(const std::vector<Vec3>& points) { m_route.fill(points); }
    void draw(const FrameContext& frame) override;

private:
    LineDraw m_route;
};

} // namespace mw
