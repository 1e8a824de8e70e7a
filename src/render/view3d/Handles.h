#pragma once
// The move and turn handles the 3D view shows at the centre of the selection: three axis arrows
// (x red, y green, z blue), three squares for the planes between them, and a ring about the
// vertical axis. They keep one size on the picture wherever the camera stands. Which part is under
// the cursor, and what a drag of each part from one pixel to another means in the world: a distance
// along an axis, an offset in a plane, an angle about the vertical. Standard C++, tested without a
// window.

#include <optional>

#include <vector>

#include "render/view3d/Camera.h"
#include "render/view3d/FrameCulling.h"
#include "render/view3d/Scene3D.h"

namespace mw {

enum class HandlePart { None, AxisX, AxisY, AxisZ, PlaneYZ, PlaneXZ, PlaneXY, Ring };

struct Handles {
    Vec3 centre;
    float size = 1; // an arrow's length in the world

    // Sized so that an arrow is about `pixels` long on the camera's picture.
    static Handles at(const Camera& camera, Vec3 centre, float pixels = 90);

    // The part under the cursor: arrows first, then the ring, then the squares.
    HandlePart partAt(const Camera& camera, PixelPoint cursor) const;

    // The squares: from 0.25 to 0.55 of an arrow's length along each of their two axes; the ring's
    // radius.
    static constexpr float SquareFrom = 0.25f, SquareTo = 0.55f, RingRadius = 1.3f;
};

// The axis (x, y or z) an arrow part moves along; the normal of a square part's plane.
Vec3 axisOf(HandlePart part);
bool isAxis(HandlePart part);
bool isPlane(HandlePart part);

// How far along `axis` through `origin` a drag from `from` to `to` moves: the points of the axis
// nearest the rays through the two pixels. Nothing when the camera looks along the axis.
std::optional<float> axisDrag(const Camera& camera, Vec3 origin, Vec3 axis, PixelPoint from, PixelPoint to);
// The offset in the plane through `origin` with `normal` between where the rays through the two
// pixels meet it. Nothing when a ray runs along the plane or meets it behind the camera.
std::optional<Vec3> planeDrag(const Camera& camera, Vec3 origin, Vec3 normal, PixelPoint from, PixelPoint to);
// The angle in degrees about the vertical axis through `centre` between where the rays through the
// two pixels meet the horizontal plane there; positive takes +z towards +x.
std::optional<double> ringDrag(const Camera& camera, Vec3 centre, PixelPoint from, PixelPoint to);

// The handles as coloured lines and (seen-through) triangles, pairs and triples of vertices; `lit`
// is drawn in the highlight colour (the part under the cursor, or the one being dragged).
void addHandleShapes(const Handles& handles, HandlePart lit, std::vector<FramePoint>& lines, std::vector<FramePoint>& triangles);

// The handles a view shows: where they stand (nothing: hidden), the items a drag of their own body
// moves, how far a drag has taken them, the part it holds and the part under the pointer.
struct HandlesShown {
    std::optional<Vec3> centre;
    std::vector<ItemRef> draggable;
    Vec3 moved;
    HandlePart held = HandlePart::None, lit = HandlePart::None;

    bool isDraggable(ItemRef item) const;
    // As they stand now for the camera; nothing while they are hidden.
    std::optional<Handles> at(const Camera& camera) const;
    // Their lines and triangles, the part held (or else the one under the pointer) lit.
    void addShapes(const Camera& camera, std::vector<FramePoint>& lines, std::vector<FramePoint>& triangles) const;
};

// A value rounded to a whole number of steps (the grid step, 15 degrees).
float snapped(float value, float step);
Vec3 snapped(Vec3 value, float step);

} // namespace mw
