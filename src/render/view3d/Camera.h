#pragma once
// The 3D view's camera: where it stands, where it looks (a yaw about the vertical axis and a pitch),
// and the distance to the pivot it orbits. Its view and projection, the ray through a pixel, the
// pixel of a point, and the moves of the view: orbit, pan, zoom towards a point, fly, and framing a
// box. Standard C++, so that its geometry is tested without a window.

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
    float yaw = 0;    // radians about the vertical axis: 0 looks along +z, a positive yaw turns towards +x
    float pitch = -0.6f; // radians, negative looks down
    float pivotDistance = 45;
    float fovY = 1.0471976f; // 60 degrees
    float nearPlane = 0.1f, farPlane = 20000;

    Vec3 forward() const;
    Vec3 right() const;
    Vec3 up() const { return cross(right(), forward()); }
    Vec3 pivot() const { return position + forward() * pivotDistance; }

    Mat4 view() const;
    Mat4 projection(float aspect) const;
    Mat4 viewProjection(float width, float height) const { return projection(width / height) * view(); }

    // The ray from the eye through pixel (x, y) of a width x height picture.
    Ray rayThrough(PixelPoint pixel, float width, float height) const;
    // The pixel a point projects to; nothing when it lies behind the camera.
    std::optional<PixelPoint> pixelOf(Vec3 point, float width, float height) const;

    // Turns about the pivot, which stays where it is (pitch kept short of straight up or down).
    void orbit(float yawBy, float pitchBy);
    // Moves camera and pivot across the view by a drag of (dx, dy) pixels of a picture `height` tall.
    void pan(float dx, float dy, float height);
    // Moves towards `point` (the one under the cursor) by `steps` wheel steps (negative: away).
    void zoomToward(Vec3 point, float steps);
    // Moves in the camera's own frame (x right, y up, z forward) by `move`.
    void fly(Vec3 move);
    // Turns on the spot (fly mode's look around).
    void look(float yawBy, float pitchBy);
    // Looks at the box from where all of it is in view, the pivot at its centre.
    void frame(Vec3 min, Vec3 max, float aspect);
};

} // namespace mw
