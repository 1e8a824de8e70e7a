#include "render/view3d/GlRenderer.h"

#include <QOpenGLContext>
#include <algorithm>

#include "render/view3d/gl/GlFormat.h"
#include "render/view3d/passes/BodiesPass.h"
#include "render/view3d/passes/CompassPass.h"
#include "render/view3d/passes/GridPass.h"
#include "render/view3d/passes/HandlesPass.h"
#include "render/view3d/passes/InstancesPass.h"
#include "render/view3d/passes/RoutePass.h"

namespace mw {

// The resources and the passes of one context, in the order they draw.
struct GlRenderer::Passes {
    explicit Passes(QOpenGLExtraFunctions& f)
        : gl(f), scene(gl), grid(gl), instances(scene), route(gl), bodies(scene), selection(gl), handles(gl), compass(gl)
    {
    }
    GlResources gl;
    SceneDraw scene;
    GridPass grid;
    InstancesPass instances;
    RoutePass route;
    BodiesPass bodies;
    SelectionPass selection;
    HandlesPass handles;
    CompassPass compass;

    RenderPass* const order[7] = {&grid, &instances, &route, &bodies, &selection, &handles, &compass};
};

GlRenderer::GlRenderer() = default;
GlRenderer::~GlRenderer() = default;

bool GlRenderer::initialize()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (const auto shortfall = view3dShortfall(context)) {
        m_failure = *shortfall;
        return false;
    }
    m_passes = std::make_unique<Passes>(*context->extraFunctions());
    if (!m_passes->gl.ready()) {
        m_failure = m_passes->gl.failure();
        m_passes.reset();
        return false;
    }
    return true;
}

void GlRenderer::setScene(std::shared_ptr<const Scene3D> scene)
{
    if (!m_passes)
        return;
    m_passes->route.setRoute(scene ? scene->route : std::vector<Vec3>{});
    m_passes->scene.setScene(std::move(scene));
}

void GlRenderer::setOverrides(DrawOverrides overrides)
{
    if (m_passes)
        m_passes->scene.setOverrides(std::move(overrides));
}

void GlRenderer::setHighlight(const Highlight3D& highlight)
{
    if (m_passes)
        m_passes->selection.setHighlight(highlight);
}

void GlRenderer::setOverlay(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles)
{
    if (m_passes)
        m_passes->handles.setShapes(lines, triangles);
}

void GlRenderer::render(const Camera& camera, int width, int height, const LayerSwitches& shown)
{
    if (!m_passes)
        return;
    GlResources& gl = m_passes->gl;
    QOpenGLExtraFunctions& f = gl.f;
    height = std::max(height, 1);
    width = std::max(width, 1);
    gl.drawCalls = 0;
    f.glViewport(0, 0, width, height);
    f.glClearColor(0.80f, 0.84f, 0.88f, 1);
    f.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // The base state every pass finds and leaves.
    f.glEnable(GL_DEPTH_TEST);
    f.glDepthFunc(GL_LEQUAL);
    f.glDisable(GL_BLEND);
    f.glDisable(GL_CULL_FACE);
    // Colours blend; the picture's alpha stays opaque, or the window would show through it.
    f.glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    // The camera as it draws this framebuffer (which may hold more pixels than the widget).
    Camera drawing = camera;
    drawing.setViewport(static_cast<float>(width), static_cast<float>(height));
    const FrameContext frame{gl, drawing, width, height, shaderMatrix(drawing.viewProjection()), shown};
    m_passes->scene.prepare(frame);
    for (RenderPass* pass : m_passes->order)
        pass->draw(frame);
    // What comes after (a QPainter drawing over the picture) finds OpenGL as it would anywhere.
    f.glBindVertexArray(0);
    f.glUseProgram(0);
    f.glDisable(GL_DEPTH_TEST);
    m_drawCalls = gl.drawCalls;
}

void GlRenderer::release() { m_passes.reset(); }

} // namespace mw
