#pragma once
// The map of the mission in a dock: the map view with its layer switches and "Fit", and the pointer's
// coordinates in the status bar. It observes the mission (a load draws the map anew, a save redraws
// the entries it wrote) and the window's selection, which it rings and marks and which clicks,
// Shift+clicks and rubber bands set. Picks and drags are handed on as signals.

#include <QObject>
#include <cstdint>
#include <vector>

#include "render/map/MissionMap.h"
#include "mission/Mission.h"
#include "ui/Selection.h"

class QDockWidget;
class QLabel;
class QMainWindow;

namespace mw {

class MissionMapView;
class ItemStates;
class Selection;
class ViewLayers;

class MapPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // The dock is added to `window`, hidden; the coordinates go into `coordinates`.
    MapPanel(Mission& mission, Selection& selection, ViewLayers& layers, const ItemStates& states, QMainWindow* window,
             QLabel* coordinates);
    ~MapPanel() override;

    QDockWidget* dock() const { return m_dock; }
    MissionMapView* view() const { return m_view; }

signals:
    // An entry was clicked (it is selected already).
    void picked(ViewLayer layer, std::uint32_t row);
    void movedSelection(float dx, float dz);
    // A scene object was dragged (with Ctrl) to x, z.
    void moved(std::uint32_t row, float x, float z);
    // A right click: the menu of what is selected.
    void contextMenuAt(QPoint global);

private:
    void missionChanged(const MissionChange& change) override;
    bool shown() const;
    void redraw();
    // The selection shown: rung and outlined, the entry a list made current marked.
    void showSelection(SelectionChange change);

    Mission& m_mission;
    Selection& m_selection;
    QDockWidget* m_dock = nullptr;
    MissionMapView* m_view = nullptr;
    bool m_stale = true; // the map has not been drawn since the files changed
};

} // namespace mw
