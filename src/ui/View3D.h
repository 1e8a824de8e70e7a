#pragma once
// The 3D view (objectName View3D): an OpenGL widget that draws the mission's instance data with the
// render layer and turns the mouse and keys into the camera's moves and into picks. Orbit: Alt + left
// drag or middle drag; pan: Shift + middle drag; zoom towards the point under the cursor: the wheel.
// Fly while the right button is held: W A S D, Q and E down and up, Shift faster, the wheel the
// speed. F frames the selection, Home everything. A click picks the nearest item under the cursor
// (Ctrl + click toggles it), Shift + drag a rectangle of scene objects. The handles at the centre of
// the selection move it along an axis (arrows), in a plane (squares) or turn it about the vertical
// (ring); dragging a selected item's own body moves the selection over the horizontal plane. Ctrl
// snaps a move to the grid step and a turn to 15 degrees; Escape puts everything back.

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QPoint>
#include <QTimer>
#include <memory>
#include <optional>
#include <set>

#include "render/view3d/GlRenderer.h"
#include "render/view3d/Handles.h"
#include "render/view3d/Picking.h"

namespace mw {

class View3D final : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit View3D(QWidget* parent = nullptr);
    ~View3D() override;

    // What is drawn (kept alive by the view while it shows it).
    void setScene(std::shared_ptr<const Scene3D> scene);
    const Scene3D* scene() const { return m_scene.get(); }
    void setHighlight(Highlight3D highlight);
    void setLayers(const LayerSwitches& shown);
    Camera& camera() { return m_camera; }
    // The box around these items in view; nothing happens when none is drawn.
    void frameItems(const std::vector<ItemRef>& items);
    void frameAll();
    // The item under a pixel of the widget.
    std::optional<PickHit> itemAt(QPoint pixel) const;
    // The draw calls of the last frame.
    int drawCalls() const { return m_renderer.drawCalls(); }
    float flySpeed() const { return m_flySpeed; }

    // Where the handles stand (the centre of what they move), or nothing to hide them; the items a
    // drag of their own body moves.
    void setHandles(std::optional<Vec3> centre, std::vector<ItemRef> draggable);
    // What a move snaps to with Ctrl, in metres.
    void setGridStep(float metres) { m_gridStep = metres; }
    float gridStep() const { return m_gridStep; }
    // While a drag shows where things would be: the scene drawn instead of the one set (picking
    // stays on that one); nothing returns to it.
    void showPreview(std::shared_ptr<const Scene3D> preview);
    bool dragging() const { return m_drag == Drag::Handle || m_drag == Drag::Body; }
    // The handles as they stand now, when they are shown.
    std::optional<Handles> handles() const;

signals:
    // OpenGL could not be used: the reason, in one line.
    void unavailable(QString reason);
    // A click picked an item; `toggle` with Ctrl.
    void picked(ItemRef item, bool toggle);
    // A click that met nothing.
    void pickedNothing();
    // A rectangle drawn with Shift: the scene objects inside it.
    void boxed(std::vector<std::uint32_t> sceneRows);
    // The item under the cursor, or nothing.
    void hovered(std::optional<ItemRef> item);
    void frameSelectionRequested();
    // A drag of the handles or of a selected body: the move or turn so far; `finished` on release.
    void moveDragged(Vec3 offset, bool finished);
    void turnDragged(double degrees, bool finished);
    // Escape during a drag: nothing moves.
    void dragCancelled();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Drag { None, Orbit, Pan, Look, Band, Click, Handle, Body, BodyOrClick };
    Ray rayAt(QPointF pixel) const;
    PixelPoint pixelAt(QPointF p) const { return {static_cast<float>(p.x()), static_cast<float>(p.y())}; }
    // A drag of the handles or a body to the cursor at `at`, with Ctrl held or not.
    void startPlacing(QPointF at);
    void dragTo(QPointF at, bool snap);
    void cancelDrag();
    void flyStep();
    void upload();

    Camera m_camera;
    GlRenderer m_renderer;
    std::shared_ptr<const Scene3D> m_scene;
    std::unique_ptr<Picker> m_picker;
    Highlight3D m_highlight;
    LayerSwitches m_shown{true, true, true, true, true};
    bool m_ready = false;
    bool m_sceneChanged = false, m_highlightChanged = false;

    Drag m_drag = Drag::None;
    QPointF m_pressAt, m_last;
    std::optional<QRectF> m_band;
    std::set<int> m_keys;     // held fly keys
    QTimer m_flyTimer;
    QElapsedTimer m_flyClock;
    float m_flySpeed = 20;    // metres per second

    std::optional<Vec3> m_handleCentre;
    std::vector<ItemRef> m_draggable;
    HandlePart m_hoverPart = HandlePart::None, m_dragPart = HandlePart::None;
    Vec3 m_grabbed;           // where a body drag took hold
    Vec3 m_offset;            // the move so far
    double m_turnRaw = 0;     // the turn so far, before snapping
    double m_turn = 0;
    float m_gridStep = 1;
    std::shared_ptr<const Scene3D> m_preview;
};

} // namespace mw
