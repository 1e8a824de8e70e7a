#include "render/view3d/passes/CompassPass.h"

#include "render/view3d/Compass.h"

#include <algorithm>

namespace mw {

CompassPass::CompassPass(GlResources& gl) : m_axes(gl)
{
    const Vec3 axes[] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}};
    m_axes.fill(axes, 6);
}

void CompassPass::draw(const FrameContext& frame)
{
    QOpenGLExtraFunctions& f = frame.gl.f;
    const int side = std::min({CompassSide, frame.width, frame.height});
    f.glViewport(0, 0, side, side);
    f.glDisable(GL_DEPTH_TEST);
    QOpenGLShaderProgram& line = frame.gl.programs.line;
    line.bind();
    line.setUniformValue("viewProjection", shaderMatrix(compassCamera(frame.camera).viewProjection()));
    line.setUniformValue("offset", 0.0f, 0.0f, 0.0f);
    line.setUniformValue("fadeTo", 0.0f);
    for (int axis = 0; axis < 3; ++axis) {
        line.setUniformValue("colour", axis == 0 ? 0.9f : 0.1f, axis == 1 ? 0.7f : 0.1f, axis == 2 ? 0.9f : 0.1f, 1.0f);
        m_axes.drawRange(GL_LINES, axis * 2, 2);
    }
    f.glEnable(GL_DEPTH_TEST);
    f.glViewport(0, 0, frame.width, frame.height);
}

} // namespace mw
