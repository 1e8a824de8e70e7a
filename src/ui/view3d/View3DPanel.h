#pragma once
// The 3D view in a dock (objectName View3DDock): the layer switches it shares with the map, the
// grid step, "Frame all", and the view, or, where no OpenGL 3.3 context can be made, one line
// saying so. It follows the mission's notices (the scene built anew when a file is read, only the
// written rows made again after a save; the camera kept across reloads of one mission, everything
// framed when another opens) and the window's selection, which it outlines and which its picks set.
// A drag shows the places the placing commands will write, and hands the move or turn on.

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "mission/Mission.h"
#include "render/view3d/Scene3D.h"
#include "ui/view3d/PlacingPreview.h"

class QDockWidget;
class QLabel;
class QMainWindow;

namespace mw {

class ItemStates;
class Selection;
class StatusLine;
class View3D;
class ViewLayers;

class View3DPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    View3DPanel(Mission& mission, Selection& selection, ViewLayers& layers, const ItemStates& states, StatusLine& status,
                QMainWindow* window);
    ~View3DPanel() override;

    QDockWidget* dock() const { return m_dock; }
    // The view; nothing where OpenGL cannot be had.
    View3D* view() const { return m_view; }
    // Frames the selection (F).
    void frameSelection();

signals:
    // An item was picked in the view (it is selected already): its list's tab can come forward.
    void picked(MissionFile file);
    // A drag of the handles ended: the selection is to be moved or turned (as one command).
    void moveRequested(Vec3 offset);
    void turnRequested(double degrees);
    // A right click: the menu of what is selected.
    void contextMenuAt(QPoint global);

private:
    void missionChanged(const MissionChange& change) override;
    void connectView();
    bool shown() const;
    Scene3DSource source() const;
    void rebuild();
    void showSelection();
    // The hidden and locked items: not drawn, not reached by clicks, drags and bands.
    void showStates();
    void showUnavailable(const QString& reason);
    // A drag in progress: the places it would write drawn, and the status line saying where.
    void previewMove(Vec3 offset);
    void previewTurn(double degrees);
    void endPreview();
    // What a drag moves: the selection's placed items but the locked ones.
    PlacedItems movable() const;

    Mission& m_mission;
    Selection& m_selection;
    ViewLayers& m_layers;
    const ItemStates& m_states;
    DrawOverrides m_hidden; // the hidden items' instances, passed over
    StatusLine& m_status;
    QDockWidget* m_dock = nullptr;
    View3D* m_view = nullptr;
    std::shared_ptr<Scene3D> m_scene;
    bool m_stale = true;
    std::filesystem::path m_folder; // of the mission the camera looks at
    bool m_tellsHover = false;
    PlacingPreview m_preview;
};

} // namespace mw
