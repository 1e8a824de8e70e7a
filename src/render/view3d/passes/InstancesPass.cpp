#include "render/view3d/passes/InstancesPass.h"

namespace mw {

namespace {

constexpr GLenum ProgramPointSize = 0x8642; // GL_PROGRAM_POINT_SIZE of OpenGL 3.2: the shader sets the size

} // namespace

void drawDots(const FrameContext& frame, const ColouredDraw& points)
{
    if (points.count() == 0)
        return;
    QOpenGLShaderProgram& program = frame.gl.programs.point;
    program.bind();
    program.setUniformValue("viewProjection", frame.viewProjection);
    program.setUniformValue("opaque", 1.0f);
    frame.gl.f.glEnable(ProgramPointSize);
    points.draw(GL_POINTS);
    frame.gl.f.glDisable(ProgramPointSize);
}

void InstancesPass::draw(const FrameContext& frame)
{
    QOpenGLShaderProgram& mesh = frame.gl.programs.mesh;
    mesh.bind();
    mesh.setUniformValue("viewProjection", frame.viewProjection);
    mesh.setUniformValue("replaceColour", 0.0f);
    mesh.setUniformValue("tint", 1.0f, 1.0f, 1.0f, 1.0f);
    mesh.setUniformValue("lit", 1.0f);
    // The meshes turn counter-clockwise seen from outside in the files' frame, which the view shows
    // mirrored (see Camera): on the screen their fronts turn clockwise.
    frame.gl.f.glEnable(GL_CULL_FACE);
    frame.gl.f.glFrontFace(GL_CW);
    for (std::size_t k = 0; k < static_cast<std::size_t>(BatchKind::Count); ++k) {
        const ViewLayer layer = layerOf(static_cast<BatchKind>(k));
        if (layer != ViewLayer::Collision && frame.isShown(layer))
            m_scene.batch(k).drawFaces();
    }
    frame.gl.f.glDisable(GL_CULL_FACE);
    frame.gl.f.glFrontFace(GL_CCW);
    drawDots(frame, m_scene.points());
    drawArrows(frame);
}

void InstancesPass::drawArrows(const FrameContext& frame)
{
    QOpenGLShaderProgram& arrow = frame.gl.programs.arrow;
    arrow.bind();
    arrow.setUniformValue("viewProjection", frame.viewProjection);
    arrow.setUniformValue("arrowLength", ArrowLength);
    for (std::size_t k = 0; k < static_cast<std::size_t>(BatchKind::Count); ++k) {
        const ViewLayer layer = layerOf(static_cast<BatchKind>(k));
        if ((layer != ViewLayer::Scene && layer != ViewLayer::Cache) || !frame.isShown(layer))
            continue;
        if (layer == ViewLayer::Scene)
            arrow.setUniformValue("colour", 0.15f, 0.15f, 0.15f, 1.0f);
        else
            arrow.setUniformValue("colour", 0.35f, 0.25f, 0.45f, 1.0f);
        m_scene.batch(k).drawArrows();
    }
}

} // namespace mw
