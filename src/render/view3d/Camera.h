#pragma once
// The 3D view's camera: where it stands, where it looks (a yaw about the vertical axis and a pitch),
// the distance to the pivot it orbits, and the picture it draws (its viewport, in pixels). Its view
// and projection, the ray through a pixel, the pixel of a point, and the moves of the view: orbit,
// pan, zoom towards a point, fly, and framing a box. Standard C++, so that its geometry is tested
// without a window.
//
// The game's files use a left-handed frame: x east, y up, z north, a heading turning +z towards +x
// (clockwise seen from above). The map draws it as such, +x to the right and +z up the screen, and
// so does this camera: looking along +z its right is +x, seen from above +x is to the right and +z up
// the picture, and a turn that is clockwise on the map is clockwise here. (A right-handed camera
// would show the mirror image of the map.)

#include <optional>

#include "foundation/geometry/Ray.h"
#include "render/view3d/Mat4.h"

namespace mw {

struct PixelPoint {
    float x = 0, y = 0; // from the top left
};

class Camera {
public:
    Vec3 position{0, 20, -40};
    float yaw = 0;    // radians about the vertical axis: 0 looks along +z, a positive yaw turns right, towards +x
    float pitch = -0.6f; // radians, negative looks down
    float pivotDistance = 45;
    float fovY = 1.0471976f; // 60 degrees
    float nearPlane = 0.1f, farPlane = 20000;

    Vec3 forward() const;
    Vec3 right() const;
    Vec3 up() const { return cross(forward(), right()); }
    Vec3 pivot() const { return position + forward() * pivotDistance; }

    // The picture's size in pixels; a side below one pixel counts as one.
    void setViewport(float width, float height);
    float width() const { return m_width; }
    float height() const { return m_height; }
    float aspect() const { return m_width / m_height; }

    Mat4 view() const;
    Mat4 projection() const;
    Mat4 viewProjection() const { return projection() * view(); }

    // The ray from the eye through a pixel of the picture (from its top left).
    Ray rayThrough(PixelPoint pixel) const;
    // The pixel a point projects to; nothing when it lies behind the camera.
    std::optional<PixelPoint> pixelOf(Vec3 point) const;
    // The length in the world of one pixel of the picture at `depth` along the line of sight.
    float worldPerPixel(float depth) const;

    // Turns about the pivot, which stays where it is (pitch kept short of straight up or down).
    void orbit(float yawBy, float pitchBy);
    // Moves camera and pivot across the view by a drag of (dx, dy) pixels.
    void pan(float dx, float dy);
    // Moves towards `point` (the one under the cursor) by `steps` wheel steps (negative: away).
    void zoomToward(Vec3 point, float steps);
    // Moves in the camera's own frame (x right, y up, z forward) by `move`.
    void fly(Vec3 move);
    // Turns on the spot (fly mode's look around).
    void look(float yawBy, float pitchBy);
    // Looks at the box from where all of it is in view, the pivot at its centre.
    void frame(Vec3 min, Vec3 max);

private:
    float m_width = 800, m_height = 600;
};

} // namespace mw
