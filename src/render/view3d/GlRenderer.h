#pragma once
// The 3D view drawn with OpenGL 3.3 (core profile) in the current context, as a short list of
// passes: the ground grid, the solid items (one instanced draw call per batch of what is in view
// and more than a pixel wide, the rest as points, the facing arrows), the route, the collision
// bodies seen through, the selection over everything, the handles, and the axis compass.

#include <QString>
#include <memory>
#include <vector>

#include "render/view3d/Camera.h"
#include "render/view3d/FrameCulling.h"
#include "render/view3d/Scene3D.h"
#include "render/view3d/passes/SelectionPass.h"

namespace mw {

class GlRenderer {
public:
    GlRenderer();
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // In the current context; false, with the reason, when it gives no OpenGL 3.3.
    bool initialize();
    QString failure() const { return m_failure; }
    // What is drawn from now on (again after every change of the mission); each frame takes what
    // is in view from it.
    void setScene(std::shared_ptr<const Scene3D> scene);
    // What is drawn otherwise than the scene holds it (hidden items, a drag's preview).
    void setOverrides(DrawOverrides overrides);
    void setHighlight(const Highlight3D& highlight);
    // Drawn last, over everything: coloured lines (pairs of vertices) and seen-through triangles
    // (triples), the move and turn handles.
    void setOverlay(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles);
    void render(const Camera& camera, int width, int height, const LayerSwitches& shown);
    // Frees every OpenGL object while the context is still current.
    void release();

    // The draw calls the last frame made (tests and the benchmark check they do not grow with the
    // number of items).
    int drawCalls() const { return m_drawCalls; }

private:
    struct Passes;
    std::unique_ptr<Passes> m_passes;
    QString m_failure;
    int m_drawCalls = 0;
};

} // namespace mw
