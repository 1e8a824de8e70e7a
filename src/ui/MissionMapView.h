#pragma once
// The map of the loaded mission seen from above (objectName MissionMap): scene objects as markers
// coloured by kind with a stroke for their heading, cached objects as outlines, collision bodies in
// their shapes; a legend, a scale bar and a layer switch for each kind of entry. Wheel zooms about
// the pointer, a drag pans, Ctrl+drag moves a scene object; a click picks the entry under the
// pointer (a second click the next one there).

#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "commands/map/MissionMap.h"

namespace mw {

class MissionMapView final : public QWidget {
    Q_OBJECT
public:
    explicit MissionMapView(QWidget* parent = nullptr);

    void setMap(MissionMap map);
    // Changes the shapes in place (a save moved some): the view and the marked entry stay.
    void changeMap(const std::function<void(MissionMap&)>& change);
    const MissionMap& map() const { return m_map; }
    void setLayerVisible(MapLayer layer, bool visible);
    bool layerVisible(MapLayer layer) const { return m_visible[static_cast<int>(layer)]; }
    // Marks an entry and brings it into view.
    void setHighlight(MapLayer layer, std::uint32_t row);
    void fit();

    // World and widget coordinates.
    QPointF toScreen(MapPoint p) const;
    MapPoint toWorld(QPointF p) const;
    double scale() const { return m_scale; } // pixels per unit

signals:
    void picked(MapLayer layer, std::uint32_t row);
    // A scene object was dragged (with Ctrl) to x, z.
    void moved(std::uint32_t row, float x, float z);
    void pointerAt(float x, float z);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::vector<std::size_t> shapesAt(QPointF pixel) const;
    void drawLegend(QPainter& p) const;
    void drawScaleBar(QPainter& p) const;

    MissionMap m_map;
    std::array<bool, 3> m_visible{true, true, true};
    std::optional<std::size_t> m_highlight; // index into the shapes
    MapPoint m_centre;
    double m_scale = 1;
    bool m_fitted = false;

    QPointF m_pressAt;
    QPointF m_lastMouse;
    bool m_dragging = false;
    std::optional<std::size_t> m_moving; // the shape a Ctrl+drag moves
    std::vector<std::size_t> m_lastHits; // the shapes under the last click, to cycle through
    std::size_t m_nextHit = 0;
};

} // namespace mw
