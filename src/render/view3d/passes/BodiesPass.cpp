#include "render/view3d/passes/BodiesPass.h"

namespace mw {

void BodiesPass::draw(const FrameContext& frame)
{
    if (!frame.isShown(ViewLayer::Collision))
        return;
    QOpenGLExtraFunctions& f = frame.gl.f;
    QOpenGLShaderProgram& mesh = frame.gl.programs.mesh;
    const auto each = [&](auto draw) {
        for (std::size_t k = 0; k < static_cast<std::size_t>(BatchKind::Count); ++k)
            if (layerOf(static_cast<BatchKind>(k)) == ViewLayer::Collision)
                draw(m_scene.batch(k));
    };
    mesh.bind();
    mesh.setUniformValue("viewProjection", frame.viewProjection);
    mesh.setUniformValue("replaceColour", 0.0f);
    mesh.setUniformValue("lit", 0.0f);
    mesh.setUniformValue("tint", 0.55f, 0.55f, 0.55f, 2.5f);
    each([](const InstanceDraw& batch) { batch.drawEdges(); });
    f.glEnable(GL_BLEND);
    f.glDepthMask(GL_FALSE);
    mesh.setUniformValue("lit", 1.0f);
    mesh.setUniformValue("tint", 1.0f, 1.0f, 1.0f, 1.0f);
    each([](const InstanceDraw& batch) { batch.drawFaces(); });
    f.glDepthMask(GL_TRUE);
    f.glDisable(GL_BLEND);
}

} // namespace mw
