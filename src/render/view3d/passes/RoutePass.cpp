#include "render/view3d/passes/RoutePass.h"

namespace mw {

void RoutePass::draw(const FrameContext& frame)
{
    if (!frame.isShown(ViewLayer::Route))
        return;
    QOpenGLShaderProgram& line = frame.gl.programs.line;
    line.bind();
    line.setUniformValue("viewProjection", frame.viewProjection);
    line.setUniformValue("offset", 0.0f, 0.0f, 0.0f);
    line.setUniformValue("fadeTo", 0.0f);
    m_route.draw(GL_LINE_STRIP, 0.9f, 0.1f, 0.6f, 1);
}

} // namespace mw
