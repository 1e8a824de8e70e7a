#pragma once
// The OpenGL the 3D view needs, said once: the surface format its widget, the probe and the tests'
// offscreen context ask for, and whether a context gives it (with the one line the view shows
// where it does not).

#include <QSurfaceFormat>
#include <optional>

class QOpenGLContext;
class QString;

namespace mw {

// OpenGL 3.3, core profile, with a depth buffer.
QSurfaceFormat view3dSurfaceFormat();

// Why the context cannot draw the view (none, OpenGL ES, older than 3.3); nothing when it can.
std::optional<QString> view3dShortfall(const QOpenGLContext* context);

// Whether the view can be had here: nothing when it can; else why not, in one line (a platform that
// cannot host an OpenGL window, offscreen or minimal; no 3.3 context).
std::optional<QString> view3dUnavailable();

} // namespace mw
