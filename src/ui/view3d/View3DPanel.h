#pragma once
// The 3D view in a dock (objectName View3DDock): the layer switches it shares with the map, and the
// view, or, where no OpenGL 3.3 context can be made (a platform that cannot host one), one line
// saying so. It observes the mission (the instance data made anew when the files change; the camera
// kept across reloads of one mission, everything framed when another opens) and the window's
// selection, which it outlines and which its picks set.

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "mission/Mission.h"
#include "render/view3d/Scene3D.h"

class QDockWidget;
class QLabel;
class QMainWindow;

namespace mw {

class Selection;
class StatusLine;
class View3D;
class ViewLayers;

class View3DPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    View3DPanel(Mission& mission, Selection& selection, ViewLayers& layers, StatusLine& status, QMainWindow* window);
    ~View3DPanel() override;

    QDockWidget* dock() const { return m_dock; }
    // The view; nothing where OpenGL cannot be had.
    View3D* view() const { return m_view; }
    // Frames the selection (F).
    void frameSelection();
    // Where the platform can host an OpenGL widget and a 3.3 context can be made; the reason why not.
    static std::optional<QString> openGlUnavailable();

signals:
    // An item was picked in the view (it is selected already): its list's tab can come forward.
    void picked(MissionFile file);
    // A drag of the handles ended: the selection is to be moved or turned (as one command).
    void moveRequested(Vec3 offset);
    void turnRequested(double degrees);

private:
    void missionChanged(const MissionChange& change) override;
    bool shown() const;
    void rebuild();
    void showSelection();
    void showUnavailable(const QString& reason);
    // The selected scene objects, and the entry last chosen in another list (the one the inspector
    // shows), as the map marks them.
    std::vector<ItemRef> selectedItems() const;
    // The cached object, collision body or frame chosen last, if one was.
    std::optional<ItemRef> otherChoice() const;
    QString nameOf(ItemRef item) const;
    // The handles at the centre of what they move.
    void placeHandles();
    // A drag in progress: the items drawn where they would be, and the status line saying where.
    void previewMove(Vec3 offset);
    void previewTurn(double degrees);
    void endPreview();
    // The instances the drag shows elsewhere, with where they stand before it.
    struct Dragged {
        Scene3D::Place place;
        Instance3D before;
        Vec3 translation; // the item's own
    };
    void startPreview();

    Mission& m_mission;
    Selection& m_selection;
    ViewLayers& m_layers;
    StatusLine& m_status;
    QDockWidget* m_dock = nullptr;
    View3D* m_view = nullptr;
    QLabel* m_notice = nullptr;
    std::shared_ptr<Scene3D> m_scene;
    bool m_stale = true;
    std::filesystem::path m_folder; // of the mission the camera looks at
    bool m_tellsHover = false;
    std::shared_ptr<Scene3D> m_preview; // the drawn copy while a drag shows where things would be
    std::vector<Dragged> m_dragged;
};

} // namespace mw
