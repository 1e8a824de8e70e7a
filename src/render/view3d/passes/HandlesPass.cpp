#include "render/view3d/passes/HandlesPass.h"

namespace mw {

void HandlesPass::setShapes(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles)
{
    m_lines.fill(lines);
    m_triangles.fill(triangles);
}

void HandlesPass::draw(const FrameContext& frame)
{
    if (m_lines.count() == 0 && m_triangles.count() == 0)
        return;
    QOpenGLExtraFunctions& f = frame.gl.f;
    QOpenGLShaderProgram& point = frame.gl.programs.point;
    f.glDisable(GL_DEPTH_TEST);
    f.glEnable(GL_BLEND);
    point.bind();
    point.setUniformValue("viewProjection", frame.viewProjection);
    point.setUniformValue("opaque", 0.0f);
    m_triangles.draw(GL_TRIANGLES);
    m_lines.draw(GL_LINES);
    f.glDisable(GL_BLEND);
    f.glEnable(GL_DEPTH_TEST);
}

} // namespace mw
