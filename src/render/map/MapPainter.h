#pragma once
// The mission map drawn with QPainter, for the window's map view and for pictures made without a
// window (mwtool render): scene objects as markers coloured by kind with a stroke for their
// heading, cached objects as outlines, collision bodies in their shapes, the selection ringed,
// the marked entry, a legend and a scale bar.

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "render/map/MissionMap.h"

namespace mw {

inline constexpr double MapMarkerRadius = 4; // pixels
inline const QColor MapBackground(250, 250, 245);

// Where the map is looked at from: the world point at the middle of the picture and the pixels per
// unit.
struct MapCamera {
    MapPoint centre;
    double scale = 1;
    QSizeF size; // the picture's

    QPointF toScreen(MapPoint p) const;
    MapPoint toWorld(QPointF p) const;
    // Every shape of `map` in view, 20 pixels from the edges.
    static MapCamera fitting(const MissionMap& map, QSizeF size) { return fitting(MapArea{map.min, map.max}, size); }
    static MapCamera fitting(const MapArea& area, QSizeF size);
};

// What is drawn beside the shapes.
struct MapOverlay {
    LayerSwitches visible{true, true, true, true, true};
    std::array<std::vector<std::uint32_t>, 3> selected; // rows by layer (scene, cache, collision), sorted
    std::array<std::vector<bool>, 3> hidden;            // rows by layer not drawn (empty: none)
    std::optional<std::size_t> highlight;           // a shape's index
    std::optional<QRectF> band;                     // a rubber band being drawn
};

void paintMissionMap(QPainter& painter, const MissionMap& map, const MapCamera& camera, const MapOverlay& overlay);

// The map as a picture of size x size pixels, seen whole.
QImage missionMapImage(const MissionMap& map, int size);

// Whether `p` lies inside the outline (a click on a cached object or a box).
bool insideOutline(const std::array<MapPoint, 4>& outline, MapPoint p);

} // namespace mw
