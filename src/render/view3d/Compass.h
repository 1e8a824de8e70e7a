#pragma once
// The axis compass in the lower left corner of the 3D view: the world's three axes as the camera
// turns them, drawn by the renderer and labelled X, Y and Z by the view. Where its axes' ends fall
// in its square, for both.

#include <QPainter>
#include <QRectF>
#include <array>

#include "render/view3d/Camera.h"

namespace mw {

inline constexpr int CompassSide = 90; // pixels, at most

// The camera the compass is drawn with: the view's turn, looking at the origin from 3 m, its
// picture the compass's square.
Camera compassCamera(const Camera& camera);
// Where the ends of the x, y and z axes fall in the square, from its top left, as parts of its side.
std::array<PixelPoint, 3> compassTips(const Camera& camera);
// The letters X, Y and Z at the ends of the compass's axes, in the square `corner` of a picture.
void paintCompassLabels(QPainter& painter, const Camera& camera, const QRectF& corner);

} // namespace mw
