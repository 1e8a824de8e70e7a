#include "render/view3d/passes/GridPass.h"

#include <cmath>
#include <vector>

namespace mw {

GridPass::GridPass(GlResources& gl) : m_fine(gl), m_coarse(gl)
{
    // The grids around the origin; drawn moved to the camera's nearest line.
    std::vector<Vec3> fine, coarse;
    for (int k = -100; k <= 100; ++k) {
        const auto n = static_cast<float>(k);
        fine.insert(fine.end(), {{n, 0, -100}, {n, 0, 100}, {-100, 0, n}, {100, 0, n}});
        coarse.insert(coarse.end(), {{n * 10, 0, -1000}, {n * 10, 0, 1000}, {-1000, 0, n * 10}, {1000, 0, n * 10}});
    }
    m_fine.fill(fine);
    m_coarse.fill(coarse);
}

void GridPass::draw(const FrameContext& frame)
{
    QOpenGLExtraFunctions& f = frame.gl.f;
    QOpenGLShaderProgram& line = frame.gl.programs.line;
    const Vec3 eye = frame.camera.position;
    f.glEnable(GL_BLEND);
    f.glDepthMask(GL_FALSE);
    line.bind();
    line.setUniformValue("viewProjection", frame.viewProjection);
    line.setUniformValue("eye", eye.x, eye.y, eye.z);
    line.setUniformValue("offset", std::round(eye.x), 0.0f, std::round(eye.z));
    line.setUniformValue("fadeFrom", 15.0f);
    line.setUniformValue("fadeTo", 70.0f);
    m_fine.draw(GL_LINES, 0.45f, 0.48f, 0.52f, 0.3f);
    line.setUniformValue("offset", std::round(eye.x / 10) * 10, 0.0f, std::round(eye.z / 10) * 10);
    line.setUniformValue("fadeFrom", 150.0f);
    line.setUniformValue("fadeTo", 700.0f);
    m_coarse.draw(GL_LINES, 0.35f, 0.38f, 0.42f, 0.45f);
    f.glDepthMask(GL_TRUE);
    f.glDisable(GL_BLEND);
}

} // namespace mw
