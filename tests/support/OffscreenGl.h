#pragma once
// An OpenGL 3.3 (core profile) context on an offscreen surface, current, drawing into a framebuffer
// object of the size asked for, with the 3D view's renderer ready in it: the drawing tests and the
// frame benchmark draw there. It needs a display (Qt's offscreen platform gives no OpenGL 3.3).

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <memory>
#include <string>

#include "render/view3d/GlRenderer.h"
#include "render/view3d/gl/GlFormat.h"

namespace mw::build {

class OffscreenGl {
public:
    OffscreenGl(int width, int height)
    {
        const QSurfaceFormat format = view3dSurfaceFormat();
        m_surface.setFormat(format);
        m_surface.create();
        m_context.setFormat(format);
        if (!m_context.create() || !m_context.makeCurrent(&m_surface)) {
            m_failure = "no OpenGL context: is a display set?";
            return;
        }
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(width, height, QOpenGLFramebufferObject::Depth);
        m_fbo->bind();
        if (!renderer.initialize())
            m_failure = renderer.failure().toStdString();
    }
    ~OffscreenGl()
    {
        if (m_fbo) {
            renderer.release();
            m_fbo.reset();
            m_context.doneCurrent();
        }
    }
    OffscreenGl(const OffscreenGl&) = delete;
    OffscreenGl& operator=(const OffscreenGl&) = delete;

    // Empty when the renderer is ready; else why not.
    const std::string& failure() const { return m_failure; }
    // One frame, finished.
    void draw(const Camera& camera, const LayerSwitches& shown = {true, true, true, true, true})
    {
        renderer.render(camera, m_fbo->width(), m_fbo->height(), shown);
        m_context.extraFunctions()->glFinish();
    }
    QImage picture() const { return m_fbo->toImage(); }

    GlRenderer renderer;

private:
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    std::string m_failure;
};

} // namespace mw::build
