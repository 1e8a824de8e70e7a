#include "render/view3d/passes/SceneDraw.h"

namespace mw {

SceneDraw::SceneDraw(GlResources& gl) : m_points(gl)
{
    m_batches.reserve(static_cast<std::size_t>(BatchKind::Count));
    for (std::size_t k = 0; k < static_cast<std::size_t>(BatchKind::Count); ++k)
        m_batches.emplace_back(gl, meshOf(static_cast<BatchKind>(k)));
}

void SceneDraw::prepare(const FrameContext& frame)
{
    if (m_scene)
        cullForFrame(*m_scene, frame.camera, frame.shown, m_frame, m_overrides.empty() ? nullptr : &m_overrides);
    else
        m_frame = {};
    for (std::size_t k = 0; k < m_batches.size(); ++k)
        m_batches[k].fill(m_frame.shapes[k]);
    m_points.fill(m_frame.points);
}

} // namespace mw
