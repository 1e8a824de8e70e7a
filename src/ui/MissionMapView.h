#pragma once
// The map of the loaded mission seen from above (objectName MissionMap): scene objects as markers
// coloured by kind with a stroke for their heading, cached objects as outlines, collision bodies in
// their shapes; a legend, a scale bar and a layer switch for each kind of entry; every selected
// item ringed or outlined. Wheel zooms about the pointer; a drag that starts on an entry (or with
// the right or middle button) pans, one that starts on empty ground draws a rubber band that
// selects the items whose centres lie inside it (Shift: adds them); Ctrl+drag moves a scene object,
// or all selected ones when it starts on one of several. A click picks the entry under the pointer
// (a second click the next one there), a click on empty ground selects nothing; Shift+click adds an
// entry to the selection or takes it out. A locked layer is drawn but never picked, banded or
// dragged. Home shows everything.

#include <QPointF>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "render/map/MapPainter.h"

namespace mw {

class MissionMapView final : public QWidget {
    Q_OBJECT
public:
    explicit MissionMapView(QWidget* parent = nullptr);

    void setMap(MissionMap map);
    // Changes the shapes in place (a save moved some): the view and the marked entry stay.
    void changeMap(const std::function<void(MissionMap&)>& change);
    const MissionMap& map() const { return m_map; }
    void setLayers(const LayerSwitches& shown, const LayerSwitches& locked);
    bool layerVisible(ViewLayer layer) const { return m_overlay.visible[indexOf(layer)]; }
    // Marks an entry and brings it into view.
    void setHighlight(ViewLayer layer, std::uint32_t row);
    // The selected items by layer (scene, cache, collision), each ringed or outlined.
    void setSelection(std::array<std::vector<std::uint32_t>, 3> rows);
    // Rows by layer hidden (not drawn, picked, banded or fitted) and locked (not picked, banded or
    // dragged); an empty vector for none.
    void setEntryStates(std::array<std::vector<bool>, 3> hidden, std::array<std::vector<bool>, 3> locked);
    void fit();

    // World and widget coordinates.
    QPointF toScreen(MapPoint p) const;
    MapPoint toWorld(QPointF p) const;
    double scale() const { return m_scale; } // pixels per unit

signals:
    void picked(ViewLayer layer, std::uint32_t row);
    // A click on empty ground.
    void pickedNothing();
    // Shift+click on an entry: into the selection or out of it.
    void toggled(ItemRef item);
    // A rubber band ended: the items inside it; `add` with Shift.
    void boxed(std::vector<ItemRef> items, bool add);
    // A scene object was dragged (with Ctrl) to x, z.
    void moved(std::uint32_t row, float x, float z);
    // The selected scene objects were dragged (with Ctrl) by dx, dz.
    void movedSelection(float dx, float dz);
    void pointerAt(float x, float z);
    // A right click (no drag): the menu of what is selected, at a point of the screen.
    void contextMenuAt(QPoint global);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<std::size_t> shapesAt(QPointF pixel) const;
    bool isSelected(const MapShape& shape) const;
    MapCamera camera() const;

    MissionMap m_map;
    // What is drawn over the shapes (layers shown, selection, hidden rows, highlight, band), kept
    // as the painter takes it.
    MapOverlay m_overlay;
    LayerSwitches m_locked{};
    std::array<std::vector<bool>, 3> m_lockedRows;
    static bool in(const std::array<std::vector<bool>, 3>& rows, const MapShape& s)
    {
        const auto& layer = rows[indexOf(s.layer)];
        return s.row < layer.size() && layer[s.row];
    }
    bool pickable(const MapShape& s) const
    {
        return m_overlay.visible[indexOf(s.layer)] && !m_locked[indexOf(s.layer)] && !in(m_overlay.hidden, s) && !in(m_lockedRows, s);
    }
    MapPoint m_centre;
    double m_scale = 1;
    bool m_fitted = false;

    QPointF m_pressAt;
    QPointF m_lastMouse;
    bool m_dragging = false;
    bool m_panning = false;
    std::optional<std::size_t> m_moving; // the shape a Ctrl+drag moves
    std::vector<std::size_t> m_group;    // the shapes a Ctrl+drag of the selection moves
    MapPoint m_groupFrom;
    std::vector<std::size_t> m_lastHits; // the shapes under the last click, to cycle through
    std::size_t m_nextHit = 0;
};

} // namespace mw
