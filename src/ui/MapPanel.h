#pragma once
// The map of the mission in a dock: the map view with its layer switches and "Fit", and the pointer's
// coordinates in the status bar. It observes the mission: a load draws the map anew, a save redraws
// the entries it wrote. Picks and drags are handed on as signals.

#include <QObject>
#include <cstdint>
#include <vector>

#include "commands/map/MissionMap.h"
#include "mission/Mission.h"

class QDockWidget;
class QLabel;
class QMainWindow;

namespace mw {

class MissionMapView;

class MapPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // The dock is added to `window`, hidden; the coordinates go into `coordinates`.
    MapPanel(Mission& mission, QMainWindow* window, QLabel* coordinates);
    ~MapPanel() override;

    QDockWidget* dock() const { return m_dock; }
    MissionMapView* view() const { return m_view; }
    // Marks the selected entry of a list.
    void highlight(MapLayer layer, std::uint32_t row);
    // Rings the selected scene objects.
    void showSelection(const std::vector<std::uint32_t>& sceneRows);

signals:
    void picked(MapLayer layer, std::uint32_t row);
    void toggled(std::uint32_t row);
    void boxed(std::vector<std::uint32_t> rows, bool add);
    void movedSelection(float dx, float dz);
    // A scene object was dragged (with Ctrl) to x, z.
    void moved(std::uint32_t row, float x, float z);
    // The map was drawn anew: nothing is marked on it.
    void redrawn();

private:
    void missionChanged(const MissionChange& change) override;
    bool shown() const;
    void redraw();

    Mission& m_mission;
    QDockWidget* m_dock = nullptr;
    MissionMapView* m_view = nullptr;
    bool m_stale = true; // the map has not been drawn since the files changed
};

} // namespace mw
