#pragma once
// The 3D view's shader programs: instanced meshes (lit, tinted or replaced by one colour), facing
// arrows per instance, vertices of their own colour (points too small for their shapes, the
// handles) and plain lines (the grid fading with distance, the route, range circles, the compass).

#include <QOpenGLShaderProgram>
#include <QString>

namespace mw {

struct GlPrograms {
    QOpenGLShaderProgram mesh, line, arrow, point;

    // Builds the four; false, with the compiler's words in `failure`, when one does not build.
    bool build(QString& failure);
};

} // namespace mw
