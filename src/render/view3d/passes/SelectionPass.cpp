#include "render/view3d/passes/SelectionPass.h"

#include "render/view3d/passes/InstancesPass.h"

namespace mw {

SelectionPass::SelectionPass(GlResources& gl) : m_points(gl), m_lines(gl)
{
    for (std::size_t k = 0; k < m_inView.size(); ++k) {
        m_shapes.emplace_back(gl, static_cast<Mesh3D>(k));
        m_hover.emplace_back(gl, static_cast<Mesh3D>(k));
    }
}

void SelectionPass::setHighlight(const Highlight3D& highlight)
{
    m_highlight.items = highlight.items;
    m_lines.fill(highlight.lines);
    for (std::size_t k = 0; k < m_hover.size(); ++k)
        m_hover[k].fill(highlight.hover[k]);
}

void SelectionPass::draw(const FrameContext& frame)
{
    m_pointsInView.clear();
    for (std::size_t k = 0; k < m_shapes.size(); ++k) {
        m_inView[k].clear();
        cullInstances(m_highlight.items[k], frame.camera, m_inView[k], m_pointsInView, packRgba(255, 217, 0));
        m_shapes[k].fill(m_inView[k]);
    }
    m_points.fill(m_pointsInView);

    QOpenGLExtraFunctions& f = frame.gl.f;
    QOpenGLShaderProgram& mesh = frame.gl.programs.mesh;
    f.glDisable(GL_DEPTH_TEST);
    f.glEnable(GL_BLEND);
    mesh.bind();
    mesh.setUniformValue("viewProjection", frame.viewProjection);
    mesh.setUniformValue("lit", 0.0f);
    mesh.setUniformValue("replaceColour", 1.0f);
    for (const InstanceDraw& shapes : m_shapes) {
        mesh.setUniformValue("tint", HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 0.4f);
        shapes.drawFaces();
        mesh.setUniformValue("tint", HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 1.0f);
        shapes.drawEdges();
    }
    mesh.setUniformValue("tint", 1.0f, 1.0f, 1.0f, 0.9f);
    for (const InstanceDraw& shapes : m_hover)
        shapes.drawEdges();
    mesh.setUniformValue("replaceColour", 0.0f);
    drawDots(frame, m_points);
    QOpenGLShaderProgram& line = frame.gl.programs.line;
    line.bind();
    line.setUniformValue("viewProjection", frame.viewProjection);
    line.setUniformValue("offset", 0.0f, 0.0f, 0.0f);
    line.setUniformValue("fadeTo", 0.0f);
    m_lines.draw(GL_LINES, HighlightRgb[0], HighlightRgb[1], HighlightRgb[2], 1);
    f.glDisable(GL_BLEND);
    f.glEnable(GL_DEPTH_TEST);
}

} // namespace mw
