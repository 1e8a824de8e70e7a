#pragma once
// The 3D view drawn with OpenGL 3.3 (core profile) in the current context: each batch of the scene
// with one instanced draw call (what is in view and more than a pixel wide; the rest in view as
// points, all in one call), the collision bodies translucent with their edges, the arrows, the
// route, a ground grid at y = 0 (1 m and 10 m lines fading with distance), the selection outlined
// in front of everything (a light's range as a circle) and an axis compass in a corner.

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/view3d/Camera.h"
#include "render/view3d/FrameCulling.h"
#include "render/view3d/Scene3D.h"

namespace mw {

// What is drawn over the scene, seen through whatever stands in front: the selected items, each in
// its own shape tinted and edged in the highlight colour, and the lights' range circles.
struct Highlight3D {
    std::array<std::vector<Instance3D>, 4> items; // by Mesh3D
    std::vector<Vec3> lines;                      // pairs: range circles and the like
};

// The colour the selection is drawn in.
inline constexpr float HighlightRgb[3] = {1.0f, 0.85f, 0.0f};

class GlRenderer {
public:
    GlRenderer();
    ~GlRenderer();
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // In the current context; false, with the reason, when it gives no OpenGL 3.3.
    bool initialize();
    QString failure() const;
    // What is drawn from now on (again after every change of the mission); each frame takes what
    // is in view from it.
    void setScene(std::shared_ptr<const Scene3D> scene);
    void setHighlight(const Highlight3D& highlight);
    // Drawn last, over everything: coloured lines (pairs of vertices) and seen-through triangles
    // (triples), the move and turn handles.
    void setOverlay(const std::vector<FramePoint>& lines, const std::vector<FramePoint>& triangles);
    void render(const Camera& camera, int width, int height, const LayerSwitches& shown);
    // Frees the buffers while the context is still current.
    void release();

    // The draw calls the last frame made (tests and the benchmark check they do not grow with the
    // number of items).
    int drawCalls() const;

private:
    struct Gl;
    std::unique_ptr<Gl> m_gl;
};

} // namespace mw
