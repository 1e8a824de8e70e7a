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

private:
    void missionChanged(const MissionChange& change) override;
    bool shown() const;
    void rebuild();
    // The selection changed in the file's lists.
    void selectionChanged(MissionFile file);
    void showSelection();
    void showUnavailable(const QString& reason);
    // The selected scene objects, and the entry last chosen in another list (the one the inspector
    // shows), as the map marks them.
    std::vector<ItemRef> selectedItems() const;
    QString nameOf(ItemRef item) const;

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
    std::optional<ItemRef> m_otherChoice; // a cached object, collision body or frame
};

} // namespace mw
